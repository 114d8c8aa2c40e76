"use strict";
// The program, to the page's script: started in a worker of its own that draws into the canvas's
// OffscreenCanvas where the browser can draw with WebGL there, on the page's main thread where it
// cannot (or where the address asks for it with `main-thread`); the same build either way. The
// page's panels call it through program.call(name, args), a promise of the result, hand it input
// through program.input(record), and read what it reported in program.reported; what the
// program says goes to the `heard` callbacks given to start.
const program = (() => {
  const canvas = document.getElementById("canvas");
  const reported = {};
  let worker = null;
  let heard = null;
  let nextCall = 0;
  const waiting = new Map(); // call id -> [resolve, reject]

  // Whether the page has WebGL at all: a context of a canvas of its own, let go at once.
  const pageWebGL = () => {
    const probe = document.createElement("canvas").getContext("webgl");
    if (probe === null) return false;
    const lose = probe.getExtension("WEBGL_lose_context");
    if (lose) lose.loseContext();
    return true;
  };
  // Whether a worker could draw here: an OffscreenCanvas's WebGL context, made in a tiny probe.
  const offscreenWebGL = () => {
    if (new URLSearchParams(location.search).has("main-thread")) return false;
    if (typeof OffscreenCanvas === "undefined" || !canvas.transferControlToOffscreen) return false;
    try {
      const probe = new OffscreenCanvas(1, 1).getContext("webgl");
      const lose = probe && probe.getExtension("WEBGL_lose_context");
      if (lose) lose.loseContext();
      return probe !== null;
    } catch {
      return false;
    }
  };

  const told = (kind, value) => {
    if (kind === "report") {
      const changes = JSON.parse(value);
      Object.assign(reported, changes);
      heard.report(changes);
    } else {
      heard[kind](value);
    }
  };

  const call = (name, args = []) => {
    if (worker === null) {
      try {
        return Promise.resolve(programCall(name, args));
      } catch (error) {
        return Promise.reject(error);
      }
    }
    const id = ++nextCall;
    return new Promise((resolve, reject) => {
      waiting.set(id, [resolve, reject]);
      worker.postMessage({call: [id, name, args]});
    });
  };

  const input = record => {
    if (worker === null) programInput(record);
    else worker.postMessage({input: record});
  };

  const fromWorker = ({data}) => {
    if (data.tell) {
      told(...data.tell);
      return;
    }
    const [id, value] = data.result || data.failed;
    const [resolve, reject] = waiting.get(id);
    waiting.delete(id);
    if (data.result) resolve(value);
    else reject(new Error(value));
  };

  // Starts the program where it can run, with `textures` (a promise of [name, bytes] pairs);
  // false where the browser gives the page no WebGL at all, and nothing of the program is fetched.
  const start = ({textures, hold, storedPlace, listeners}) => {
    heard = listeners;
    if (pageWebGL() && offscreenWebGL()) {
      const offscreen = canvas.transferControlToOffscreen();
      worker = new Worker("cheerleaders_worker.js");
      worker.onmessage = fromWorker;
      worker.onerror = event => heard.abort(event.message || "the program's worker stopped");
      worker.postMessage({start: {canvas: offscreen, hold, storedPlace}}, [offscreen]);
      // The textures' buffers are handed over, not copied.
      textures.then(files => worker.postMessage({textures: files},
                                                files.map(([, data]) => data.buffer)));
      return true;
    }
    const gl = canvas.getContext("webgl", PROGRAM_CONTEXT);
    if (!gl) return false;
    startProgram({canvas, gl, textures, hold, storedPlace, tell: told, load: () => {
      document.body.append(Object.assign(document.createElement("script"),
                                         {src: "cheerleaders.js", async: true}));
    }});
    return true;
  };

  return {
    start, call, input, reported,
    // Which way it runs: "worker" or "main thread".
    way: () => (worker === null ? "main thread" : "worker"),
  };
})();
