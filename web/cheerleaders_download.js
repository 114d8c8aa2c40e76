"use strict";
// The page's Download glTF button: on a click, and only then, a worker runs the exporter's own
// module (cheerleaders_export.js and .wasm, apart from the program), hands it the played show's
// text as the program gives it, and saves the bytes it builds, the desktop's `--export-gltf` file
// of that show. Glue: the text is the program's and the bytes are the module's.
(() => {
  const button = document.getElementById("download-gltf");
  const statusLine = document.getElementById("status");
  const FILE_NAME = "cheerleaders-show.glb";
  // The saved file's address is let go once the browser has surely taken the bytes.
  const KEEP_ADDRESS_MS = 60000;
  const LABEL = button.textContent;
  let working = false;
  let failure = ""; // the status line's text this button last put there

  const say = text => {
    if (text || statusLine.textContent === failure) statusLine.textContent = text;
    failure = text;
  };
  const busy = on => {
    working = on;
    button.setAttribute("aria-busy", String(on));
    button.setAttribute("aria-disabled", String(on));
    button.textContent = on ? "Making glTF\u2026" : LABEL;
  };
  // Resolves with the file's bytes, or fails with what went wrong.
  const exportShow = text => new Promise((made, failed) => {
    const worker = new Worker("cheerleaders_export.js");
    worker.onmessage = ({data}) => {
      worker.terminate();
      if (data.bytes) made(data.bytes);
      else failed(new Error(data.refusal));
    };
    worker.onerror = event => {
      event.preventDefault();
      worker.terminate();
      failed(new Error(event.message || "the exporter could not be loaded"));
    };
    worker.postMessage(text);
  });
  const save = bytes => {
    const address = URL.createObjectURL(new Blob([bytes], {type: "model/gltf-binary"}));
    const link = Object.assign(document.createElement("a"), {href: address, download: FILE_NAME});
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(address), KEEP_ADDRESS_MS);
  };

  button.addEventListener("click", () => {
    if (working) return;
    // The show's text comes from the running program; before it runs there is none.
    if (typeof running === "undefined" || !running) {
      say("Download glTF: the show has not started yet.");
      return;
    }
    busy(true);
    say("");
    program.call("webShowText").then(exportShow)
      .then(save, error => say("Download glTF failed: " + error.message))
      .finally(() => busy(false));
  });
})();
