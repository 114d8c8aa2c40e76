"use strict";
// The program as the page's script reaches it, in one place for both ways it runs: on the page's
// main thread, where the page calls this directly, and in a worker of its own drawing into the
// canvas's OffscreenCanvas (cheerleaders_worker.js), where the same records come by message. A
// call is a name and its arguments; an input record is a DOM event made plain, in the canvas's
// own pixels (cheerleaders_input.js); what the program says goes to `tell(kind, value)`.

// The attributes the program draws with, the one place they are set.
const PROGRAM_CONTEXT = {alpha: false, depth: true, stencil: false, antialias: false,
                         preserveDrawingBuffer: true};

// Each export the page calls: the type of its result, then those of its arguments.
const PROGRAM_CALLS = {
  webKey: [null, ["number"]], webSpecialKey: ["number", ["string", "number"]],
  webSeek: [null, ["number"]], webStep: [null, ["number"]], webSetSpeed: [null, ["number"]],
  webCompletions: ["string", []], webSpeeds: ["string", []],
  webPlaceLink: ["string", ["string"]], webOpenLink: ["string", ["string"]],
  webPageQuery: [null, ["string"]], webRestorePlace: ["number", []],
  webSelectRobot: [null, ["number"]], webSetBodyFrames: [null, ["number"]],
  webPick: [null, ["number", "number"]],
  webPoseBegin: ["number", []], webPoseSet: ["number", ["string", "number"]],
  webPoseEnd: [null, []], webPoseUndo: ["number", []], webPoseRedo: ["number", []],
  webPoseMirror: ["number", []], webPoseLine: ["string", []],
  webShowText: ["string", []], webPlayingBuiltInShow: ["number", []],
  webPlayShow: ["string", ["string", "string"]], webPlayBuiltInShow: [null, []],
  webAddPose: ["string", ["string"]],
  webHoldAfterIdleCalls: [null, ["number"]], webIdleCalls: ["number", []],
};

const TOUCH_PHASES = {touchstart: 0, touchmove: 1, touchend: 2, touchcancel: 3};

// The program's state of running, its graphics, and the calls that are not exports: what the
// canvas shows, and (for the page's tests) its graphics taken away and given back.
const programSide = {module: null, canvas: null, gl: null, running: false, loseContext: null};

const programCall = (name, args) => {
  const {module, canvas, gl} = programSide;
  if (name === "picture") {
    // The canvas's picture as a data: address.
    if (canvas.toDataURL) return canvas.toDataURL();
    return canvas.convertToBlob().then(blob => new FileReaderSync().readAsDataURL(blob));
  }
  if (name === "loseGraphics" || name === "restoreGraphics") {
    programSide.loseContext = programSide.loseContext || gl.getExtension("WEBGL_lose_context");
    if (name === "loseGraphics") programSide.loseContext.loseContext();
    else programSide.loseContext.restoreContext();
    return null;
  }
  const signature = PROGRAM_CALLS[name];
  if (!signature) throw new Error("the program has no call " + name);
  return module.ccall(name, signature[0], signature[1], args || []);
};

// An input record to the program: the keys' and mouse's (dom_input.cpp) or touch's
// (touch_input.cpp) exports; none before the program runs.
const programInput = record => {
  const module = programSide.module;
  if (!programSide.running) return;
  switch (record.type) {
  case "key":
    module.ccall("webKeyDown", "number", ["string", "number", "number", "number", "number"],
                 [record.key, record.shift, record.ctrl, record.alt, record.meta]);
    break;
  case "mouse":
    module._webMouse(record.kind, record.x, record.y, record.button, record.buttons);
    break;
  case "wheel":
    module._webWheel(record.deltaY, record.unit, record.x, record.y);
    break;
  case "touch":
    for (const [id, x, y] of record.fingers) module._webTouchFinger(id, x, y);
    module._webTouch(TOUCH_PHASES[record.phase], record.time);
    break;
  }
};

// Starts the program (`load` fetches cheerleaders.js) on `canvas`, whose context `gl` was made
// with PROGRAM_CONTEXT, once `textures` ([name, bytes] pairs) are in its working directory.
// `hold` holds the show after so many idle calls (?hold=N, for still pictures), `storedPlace` is
// the place kept as the graphics went, for the program that starts after them. Lost graphics stop
// the show where it is; the place goes to the page (kind "keepPlace").
const startProgram = ({canvas, gl, textures, hold, storedPlace, tell, load}) => {
  Object.assign(programSide, {canvas, gl});
  const module = programSide.module = self.Module = {
    canvas,
    onReport: text => tell("report", text),
    print: line => tell("print", line),
    printErr: line => console.error(line),
    keepPlace: place => tell("keepPlace", place),
    storedPlace: () => storedPlace,
    fullScreen: toggle => tell("fullScreen", toggle),
    preRun: [() => {
      // While the program compiles and the textures are drawn, the context's extensions are
      // turned on, all that Emscripten's WebGL layer would turn on as the program starts.
      for (const name of gl.getSupportedExtensions() || []) {
        if (!name.includes("lose_context") && !name.includes("debug")) gl.getExtension(name);
      }
      module.addRunDependency("textures");
      textures.then(files => {
        for (const [name, data] of files) module.FS_createDataFile("/", name, data, true, true);
        module.removeRunDependency("textures");
      });
    }],
    onFirstPicture: () => tell("firstPicture", null),
    onRuntimeInitialized: () => {
      if (hold !== null) module._webHoldAfterIdleCalls(Number(hold));
    },
    postRun: () => {
      // Graphics lost as the program started: it waits, and a place kept waits for the page after.
      if (gl.isContextLost()) {
        module.pauseMainLoop();
        return;
      }
      programSide.running = true;
      tell("started", null);
    },
    onAbort: what => {
      programSide.running = false;
      tell("abort", String(what));
    },
  };
  canvas.addEventListener("webglcontextlost", event => {
    event.preventDefault(); // so that the browser may give the context back
    if (programSide.running) {
      programSide.running = false;
      module.pauseMainLoop();
      module._webSavePlace();
    }
    tell("lost", null);
  });
  canvas.addEventListener("webglcontextrestored", () => tell("restored", null));
  load();
};
