"use strict";
// The page's timeline, its console, its speed choice and its links to a moment: glue between the
// page and the program. Everything it shows (the show's length, its finished commands and their
// ticks, the speeds, the spoken value, the address) the program reports or hands it as text or
// numbers; what it hands back is what the program gave it.
const timeline = (() => {
  const slider = document.getElementById("timeline");
  const marks = document.getElementById("marks");
  const speedChoice = document.getElementById("speed");
  const messages = document.getElementById("messages");
  const finished = document.getElementById("finished");
  const copyButton = document.getElementById("copy-link");
  const linkText = document.getElementById("link-text");
  const SPECIAL_KEYS = ["ArrowLeft", "ArrowRight", "Home", "End", "PageUp", "PageDown"];
  let completions = []; // [{tick, line}] of the whole show, from the program
  let started = false, dragging = false, tick = 0;

  // The whole show's finished commands, asked for once for each show.
  const askWholeShow = () => program.call("webCompletions").then(text => {
    completions = JSON.parse(text);
  });
  const wholeShow = () => completions;

  // The program's lines: those of finished commands the console shows by the tick the show is at;
  // the others (a texture that could not be made, the place) stay as they came.
  const print = line => {
    if (wholeShow().some(c => c.line === line)) return;
    messages.append(Object.assign(document.createElement("div"), {textContent: line}));
  };

  // The lines of the commands finished by the tick, each a button that seeks to its moment.
  const showFinished = count => {
    finished.replaceChildren(...wholeShow().slice(0, count).map(({tick, line}) => {
      const button = Object.assign(document.createElement("button"), {type: "button"});
      button.append(Object.assign(document.createElement("span"),
                                  {className: "line", textContent: line}),
                    Object.assign(document.createElement("span"),
                                  {className: "tick", textContent: "tick " + tick}));
      button.addEventListener("click", () => program.call("webSeek", [tick]));
      const item = document.createElement("li");
      item.append(button);
      return item;
    }));
  };

  // A mark at each finished command of the show that plays.
  const markShow = () => {
    marks.replaceChildren(...wholeShow().map(c => Object.assign(document.createElement("option"),
                                                                {value: c.tick})));
  };

  // What the program reported changed: another show (its marks and lines asked for once), the
  // thumb (unless a finger or the mouse holds it), its spoken value, the console, the speed, and
  // the address (replaced, not pushed: Back still leaves the page), which names the place while
  // the show is paused; its fragment is the show's.
  const follow = changes => {
    if (!started) return;
    if ("show" in changes) {
      askWholeShow().then(() => {
        markShow();
        showFinished(program.reported.finished);
      });
    }
    if ("length" in changes) slider.max = changes.length;
    if ("tick" in changes) tick = changes.tick;
    if ("tick" in changes && !dragging) slider.value = tick;
    if ("timelineText" in changes) slider.setAttribute("aria-valuetext", changes.timelineText);
    if ("finished" in changes) showFinished(changes.finished);
    if ("speed" in changes) speedChoice.value = changes.speed;
    if ("address" in changes && changes.address !== location.search) {
      history.replaceState(history.state, "", location.pathname + changes.address + location.hash);
    }
  };

  slider.addEventListener("input", () => program.call("webSeek", [Number(slider.value)]));
  slider.addEventListener("pointerdown", () => { dragging = true; });
  for (const kind of ["pointerup", "pointercancel"]) {
    window.addEventListener(kind, () => {
      if (dragging) slider.value = tick;
      dragging = false;
    });
  }
  // The slider's keys are the program's own, as the canvas has them: the arrows step (up as on,
  // down as back, along the slider), Home and End go to the start and the end, Page Up and Page
  // Down to the previous and next finished command.
  slider.addEventListener("keydown", event => {
    if (!started || event.ctrlKey || event.altKey || event.metaKey) return;
    const key = {ArrowUp: "ArrowRight", ArrowDown: "ArrowLeft"}[event.key] || event.key;
    if (!SPECIAL_KEYS.includes(key)) return;
    event.preventDefault();
    program.call("webSpecialKey", [key, event.shiftKey ? 1 : 0]);
  });
  for (const [id, forward] of [["step-back", 0], ["step-forward", 1]]) {
    document.getElementById(id).addEventListener("click", () => {
      if (started) program.call("webStep", [forward]);
    });
  }
  speedChoice.addEventListener("change",
                               () => program.call("webSetSpeed", [Number(speedChoice.value)]));

  copyButton.addEventListener("click", () => {
    if (!started) return;
    // The moment and the view in the query, a show of one's own in the fragment.
    Promise.all([program.call("webPlaceLink", [""]), showPanel.fragment()]).then(([query, show]) => {
      const link = location.origin + location.pathname + query + show;
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
  });

  // Once the program runs, with the link's show: its marks, and the speeds; then the show opened
  // at the moment the page's link names (a value the program refuses leaves it at the start, and
  // the page says which), unless `restored`.
  const start = async (restored, statusLine) => {
    await askWholeShow();
    markShow();
    const speeds = JSON.parse(await program.call("webSpeeds"));
    speedChoice.replaceChildren(...speeds.map((name, k) =>
      Object.assign(document.createElement("option"), {value: k, textContent: name + "\u00d7"})));
    program.call("webPageQuery", [location.search]);
    started = true;
    if (!restored) {
      const refused = await program.call("webOpenLink", [location.search]);
      if (refused) statusLine.textContent = refused;
    }
  };

  return {
    print, follow, start,
    // The program's other lines, kept across lost graphics.
    messageLines: () => Array.from(messages.children, line => line.textContent),
    restoreMessages: lines => { messages.replaceChildren(); (lines || []).forEach(print); },
  };
})();
