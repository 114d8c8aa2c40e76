"use strict";
// The canvas's input, the one place where its DOM events are made into the program's records, in
// the canvas's own pixels, whichever way the program runs: keys, the mouse, the wheel and touch
// (program.input). The records are plain, to be posted to a worker as they are.
const canvasInput = (() => {
  const canvas = document.getElementById("canvas");
  // The keys that GLUT calls special: they and the space would scroll the page.
  const SPECIAL_KEYS = ["ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "Home", "End",
                        "PageUp", "PageDown"];
  const MOUSE_KINDS = {mousemove: 0, mouseenter: 1, mouseleave: 2, mousedown: 3, mouseup: 4};

  // A point of the page in the canvas's own pixels however large the page shows it. The picture
  // keeps its shape: where the box is wider or taller (in full screen), it is centred.
  const canvasPoint = (clientX, clientY) => {
    const box = canvas.getBoundingClientRect();
    const width = canvas.width, height = canvas.height;
    const scale = box.width > 0 && box.height > 0
      ? Math.min(box.width / width, box.height / height) : 1;
    return [Math.floor((clientX - box.left - (box.width - width * scale) / 2) / scale),
            Math.floor((clientY - box.top - (box.height - height * scale) / 2) / scale)];
  };

  // Shortcuts with Ctrl, Alt or Meta stay the browser's; a character typed with AltGr (which a
  // browser reports as Ctrl and Alt together) is the program's.
  const shortcut = event => {
    const altGraph = event.ctrlKey && event.altKey && !event.metaKey &&
      Array.from(event.key).length === 1;
    return (event.ctrlKey || event.altKey || event.metaKey) && !altGraph;
  };
  canvas.addEventListener("keydown", event => {
    if (!shortcut(event) && (event.key === " " || SPECIAL_KEYS.includes(event.key))) {
      event.preventDefault();
    }
    program.input({type: "key", key: event.key, shift: +event.shiftKey, ctrl: +event.ctrlKey,
                   alt: +event.altKey, meta: +event.metaKey});
  });
  for (const type of Object.keys(MOUSE_KINDS)) {
    canvas.addEventListener(type, event => {
      const [x, y] = canvasPoint(event.clientX, event.clientY);
      program.input({type: "mouse", kind: MOUSE_KINDS[type], x, y, button: event.button,
                     buttons: event.buttons});
    });
  }
  canvas.addEventListener("wheel", event => {
    event.preventDefault();
    const [x, y] = canvasPoint(event.clientX, event.clientY);
    program.input({type: "wheel", deltaY: event.deltaY, unit: event.deltaMode, x, y});
  }, {passive: false});
  // Taken, so the page neither scrolls nor zooms, and no mouse events are made of it. Each
  // finger the event is about, by its identifier, at the page's time.
  for (const type of ["touchstart", "touchmove", "touchend", "touchcancel"]) {
    canvas.addEventListener(type, event => {
      event.preventDefault();
      const fingers = Array.from(event.changedTouches, touch =>
        [touch.identifier, ...canvasPoint(touch.clientX, touch.clientY)]);
      // The event's own time: a tap is as long as the finger was down, not as late as a busy
      // page took the events in.
      program.input({type: "touch", phase: type, time: event.timeStamp, fingers});
    }, {passive: false});
  }

  return {canvasPoint};
})();
