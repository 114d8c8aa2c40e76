"use strict";
// The page's start: the textures made in workers, the program started where it can run
// (cheerleaders_program.js), the panels started once it runs, what it says shown; the loading
// line, lost graphics, full screen, and the word that there is no WebGL.
const statusLine = document.getElementById("status");
const canvas = document.getElementById("canvas");
const pauseButton = document.getElementById("pause");
const overlay = document.getElementById("overlay");
const reloadButton = document.getElementById("reload");
// ?hold=N holds the show after N idle calls of the program's loop, for a still picture.
const hold = new URLSearchParams(location.search).get("hold");
// Where the show was when the graphics were lost, for the page that comes after: the program's
// place, as the program wrote it, and the console's other lines.
const PLACE = "cheerleaders-place";
const stored = JSON.parse(sessionStorage.getItem(PLACE) || "null");
let running = false;
// The program reports what changed: the pause button says what it will do, the document's
// title is the program's, and the timeline, the inspector and the pose panel follow.
const follow = changes => {
  if ("title" in changes) document.title = changes.title;
  if (!running) return;
  if ("paused" in changes) {
    pauseButton.textContent = changes.paused ? "Resume" : "Pause";
    pauseButton.setAttribute("aria-label", changes.paused ? "Resume the robots"
                                                          : "Pause the robots");
  }
  timeline.follow(changes);
  inspector.follow(changes);
  posePanel.follow(changes);
  showPanel.follow(changes);
};
for (const button of document.querySelectorAll("#controls button[data-key]")) {
  button.addEventListener("click", () => {
    if (running) program.call("webKey", [Number(button.dataset.key)]);
  });
}
// A touch is taken by the show, so it gives the canvas the focus here.
canvas.addEventListener("touchstart", () => canvas.focus(), {passive: true});

const say = (text, offerReload) => {
  overlay.className = "";
  document.getElementById("overlay-text").textContent = text;
  reloadButton.hidden = !offerReload;
  overlay.hidden = false;
};
reloadButton.addEventListener("click", () => location.reload());

// What the program says, whichever way it runs.
const listeners = {
  report: follow,
  print: line => { timeline.print(line); console.log(line); },
  // The program hands over its place as the graphics go, and takes it back as it starts again.
  keepPlace: place => sessionStorage.setItem(PLACE, JSON.stringify(
    {place, lines: timeline.messageLines()})),
  // The program's first frames are drawn behind the loading line; then the show is shown.
  firstPicture: () => {
    window.firstPictureAt = performance.now();
    if (overlay.className === "loading") overlay.hidden = true;
  },
  // Full screen is the canvas's, on or off (toggle), or off.
  fullScreen: toggle => {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (toggle && canvas.requestFullscreen) canvas.requestFullscreen().catch(() => {});
  },
  started: async () => {
    await showPanel.start();
    if (stored) {
      timeline.restoreMessages(stored.lines);
      await program.call("webRestorePlace");
      // Removed only once the program has it back.
      sessionStorage.removeItem(PLACE);
    }
    await timeline.start(stored !== null, statusLine);
    inspector.start();
    posePanel.start();
    running = true;
    follow(program.reported);
    canvas.focus({preventScroll: true, focusVisible: false});
  },
  // Lost graphics: the show stops where it is (the program kept its place), and the page after
  // the restore (or after a reload, when none comes) starts from there.
  lost: () => {
    running = false;
    say("The browser took the graphics away. The show waits here until they come back.");
    setTimeout(() => say("The graphics have not come back. Reload to go on from here.", true),
               3000);
  },
  restored: () => location.reload(),
  abort: what => {
    running = false;
    overlay.hidden = true;
    statusLine.textContent = "The show stopped: " + what +
      (location.protocol === "file:" ? " (this browser may not load the page's files from" +
       " a folder: serve it, for example with `make web-serve`)" : "");
  },
};

// The textures are drawn, as the desktop's make_textures draws them, by a small module of their
// own in two workers, half each, while the program is fetched and compiled; a picture that could
// not be made is left out, and the program says so as it would of a missing file. Nothing of the
// program is fetched where it could not run.
const TEXTURE_WORKERS = 2;
let texturesMade = null;
const textures = new Promise(made => { texturesMade = made; });
if (program.start({textures, hold, storedPlace: stored && stored.place, listeners})) {
  const parts = Array.from({length: TEXTURE_WORKERS}, (_, part) => new Promise(made => {
    const maker = new Worker("cheerleaders_textures.js");
    maker.onmessage = message => { made(message.data); maker.terminate(); };
    maker.onerror = () => made([]);
    maker.postMessage({part, parts: TEXTURE_WORKERS});
  }));
  Promise.all(parts).then(files => texturesMade(files.flat()));
} else {
  overlay.hidden = true;
  statusLine.textContent = "This browser gives the page no WebGL, so the show cannot run here. " +
    "Try another browser, or turn on hardware acceleration in this browser's settings.";
}
