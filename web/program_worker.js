"use strict";
// The program's worker (built as cheerleaders_worker.js): the program runs here, drawing into the
// canvas's OffscreenCanvas, so that its compile, its start and its frames leave the page's main
// thread free. The page sends {start}, then {textures}, then calls ({call: [id, name, args]},
// answered with {result: [id, value]} or {failed: [id, message]}) and input records ({input});
// what the program says goes back as {tell: [kind, value]}.
importScripts("cheerleaders_calls.js");

let texturesCame = null;
const textures = new Promise(came => { texturesCame = came; });
const tell = (kind, value) => postMessage({tell: [kind, value]});

onmessage = ({data}) => {
  if (data.input) {
    programInput(data.input);
  } else if (data.call) {
    const [id, name, args] = data.call;
    Promise.resolve().then(() => programCall(name, args)).then(
      value => postMessage({result: [id, value]}),
      error => postMessage({failed: [id, String(error && error.message || error)]}));
  } else if (data.textures) {
    texturesCame(data.textures);
  } else if (data.start) {
    const {canvas, hold, storedPlace} = data.start;
    const gl = canvas.getContext("webgl", PROGRAM_CONTEXT);
    if (!gl) {
      tell("abort", "this browser gives the page's worker no WebGL");
      return;
    }
    startProgram({canvas, gl, textures, hold, storedPlace, tell,
                  load: () => importScripts("cheerleaders.js")});
  }
};
