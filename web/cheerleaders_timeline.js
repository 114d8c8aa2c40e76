"use strict";
// The page's timeline, its console, its speed choice and its links to a moment: glue between the
// page and the program. Everything it shows (the show's length, its finished commands and their
// ticks, the speeds, the spoken value, the link) the program hands it as text or numbers; what it
// hands back is what the program gave it.
const timeline = (() => {
  const slider = document.getElementById("timeline");
  const marks = document.getElementById("marks");
  const speedChoice = document.getElementById("speed");
  const messages = document.getElementById("messages");
  const finished = document.getElementById("finished");
  const copyButton = document.getElementById("copy-link");
  const linkText = document.getElementById("link-text");
  // A text from the program: the exported function's name, then its text arguments.
  const text = (name, ...args) => Module.ccall(name, "string", args.map(() => "string"), args);

  let completions = null; // [{tick, line}] of the whole show, from the program
  let started = false, dragging = false;
  let shownTick = -1, shownCount = -1, shownSpeed = -1;

  const wholeShow = () => completions || (completions = JSON.parse(text("webCompletions")));

  // The program's lines: those of finished commands the console shows by the tick the show is at;
  // the others (a texture that could not be made, the place) stay as they came.
  const print = line => {
    if (wholeShow().some(c => c.line === line)) return;
    messages.append(Object.assign(document.createElement("div"), {textContent: line}));
  };

  // The lines of the commands finished by the tick, each a button that seeks to its moment.
  const showFinished = count => {
    shownCount = count;
    finished.replaceChildren(...wholeShow().slice(0, count).map(({tick, line}) => {
      const button = Object.assign(document.createElement("button"), {type: "button"});
      button.append(Object.assign(document.createElement("span"),
                                  {className: "line", textContent: line}),
                    Object.assign(document.createElement("span"),
                                  {className: "tick", textContent: "tick " + tick}));
      button.addEventListener("click", () => { Module._webSeek(tick); frame(); });
      const item = document.createElement("li");
      item.append(button);
      return item;
    }));
  };

  // After each frame, and after anything the page did to the show: the thumb (unless a finger or
  // the mouse holds it), its spoken value, the console, the speed, and while paused the address.
  const frame = () => {
    if (!started) return;
    const tick = Module._webTick();
    if (tick !== shownTick) {
      shownTick = tick;
      if (!dragging) slider.value = tick;
      slider.setAttribute("aria-valuetext", text("webTimelineText"));
      const count = wholeShow().filter(c => c.tick <= tick).length;
      if (count !== shownCount) showFinished(count);
    }
    const speed = Module._webSpeed();
    if (speed !== shownSpeed) speedChoice.value = shownSpeed = speed;
    // Replaced, not pushed: Back still leaves the page.
    if (Module._webPaused() !== 0) {
      const query = text("webPlaceLink", location.search);
      if (query !== location.search) history.replaceState(history.state, "", query + location.hash);
    }
  };

  slider.addEventListener("input", () => { Module._webSeek(Number(slider.value)); frame(); });
  slider.addEventListener("pointerdown", () => { dragging = true; });
  for (const kind of ["pointerup", "pointercancel"]) {
    window.addEventListener(kind, () => { dragging = false; shownTick = -1; });
  }
  // The arrows step as the step buttons do; Page Up and Page Down go to the previous and next
  // finished command rather than a tenth of the range.
  const sliderKeys = {
    ArrowLeft: shift => Module._webStep(0, shift), ArrowDown: shift => Module._webStep(0, shift),
    ArrowRight: shift => Module._webStep(1, shift), ArrowUp: shift => Module._webStep(1, shift),
    PageUp: () => Module._webSeekCompletion(0), PageDown: () => Module._webSeekCompletion(1),
    Home: () => Module._webSeek(0), End: () => Module._webSeek(Number(slider.max)),
  };
  slider.addEventListener("keydown", event => {
    const move = sliderKeys[event.key];
    if (!move || event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    move(event.shiftKey ? 1 : 0);
    frame();
  });
  for (const [id, forward] of [["step-back", 0], ["step-forward", 1]]) {
    document.getElementById(id).addEventListener("click", () => {
      if (started) { Module._webStep(forward, 0); frame(); }
    });
  }
  speedChoice.addEventListener("change", () => Module._webSetSpeed(Number(speedChoice.value)));

  copyButton.addEventListener("click", () => {
    if (!started) return;
    const link = location.origin + location.pathname + text("webPlaceLink", "");
    // Where the clipboard is refused, the link is there to copy by hand.
    const offer = () => {
      linkText.value = link;
      linkText.hidden = false;
      linkText.select();
    };
    const copied = () => {
      linkText.hidden = true;
      copyButton.textContent = "Copied";
      setTimeout(() => { copyButton.textContent = "Copy link"; }, 2000);
    };
    (navigator.clipboard ? navigator.clipboard.writeText(link) : Promise.reject()).then(copied,
                                                                                         offer);
  });

  // Once the program runs: the timeline over the whole show, with a mark at each finished
  // command, and the speeds; then the show opened at the moment the page's link names (a value
  // the program refuses leaves it at the start, and the page says which), unless `restored`.
  const start = (restored, statusLine) => {
    slider.max = Module._webShowLength();
    marks.replaceChildren(...wholeShow().map(c => Object.assign(document.createElement("option"),
                                                                {value: c.tick})));
    speedChoice.replaceChildren(...JSON.parse(text("webSpeeds")).map((name, k) =>
      Object.assign(document.createElement("option"), {value: k, textContent: name + "\u00d7"})));
    if (!restored) {
      const refused = text("webOpenLink", location.search);
      if (refused) statusLine.textContent = refused;
    }
    started = true;
    frame();
  };

  return {
    print, frame, start,
    // The program's other lines, kept across lost graphics.
    messageLines: () => Array.from(messages.children, line => line.textContent),
    restoreMessages: lines => { messages.replaceChildren(); (lines || []).forEach(print); },
  };
})();
