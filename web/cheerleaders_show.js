"use strict";
// The page's Show panel and the show a link carries. Play, Add pose and Reset are the program's
// verbs: it reads the text, refuses it with the place of the fault or plays it, adds the selected
// robot's pose to it, and hands back the played show's text. A show of one's own travels in the
// address's fragment, which no server sees: its canonical text, raw deflate, then base64url.
const showPanel = (() => {
  const MAX_SHOW_BYTES = 64 * 1024; // the longest show the program reads (show_file.h)
  const FRAGMENT = "#show=";
  const area = document.getElementById("show-text");
  const status = document.getElementById("show-status");
  const addButton = document.getElementById("show-add-pose");
  let started = false;
  let linked = null; // what the address's fragment held as the page opened: {text} or {wrong}
  let fragment = Promise.resolve(""); // the played show's fragment; "" for the built-in show

  const base64url = bytes => {
    let binary = "";
    for (const byte of bytes) binary += String.fromCharCode(byte);
    return btoa(binary).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
  };
  // The bytes, or null for text that is not base64url without padding.
  const fromBase64url = packed => {
    if (!/^[A-Za-z0-9_-]*$/.test(packed) || packed.length % 4 === 1) return null;
    const binary = atob(packed.replace(/-/g, "+").replace(/_/g, "/"));
    return Uint8Array.from(binary, c => c.charCodeAt(0));
  };
  const packed = show => new Response(new Blob([show]).stream()
    .pipeThrough(new CompressionStream("deflate-raw"))).arrayBuffer()
    .then(bytes => FRAGMENT + base64url(new Uint8Array(bytes)));
  // Inflated a piece at a time, and given up as soon as it is longer than any show.
  const unpacked = async bytes => {
    const reader = new Blob([bytes]).stream()
      .pipeThrough(new DecompressionStream("deflate-raw")).getReader();
    const pieces = [];
    let size = 0;
    for (;;) {
      let piece;
      try {
        piece = await reader.read();
      } catch {
        return {wrong: "its show does not decompress"};
      }
      if (piece.done) break;
      size += piece.value.length;
      if (size > MAX_SHOW_BYTES) {
        reader.cancel().catch(() => {});
        return {wrong: `its show is over ${MAX_SHOW_BYTES} bytes`};
      }
      pieces.push(piece.value);
    }
    try {
      const whole = new Uint8Array(await new Blob(pieces).arrayBuffer());
      return {text: new TextDecoder("utf-8", {fatal: true}).decode(whole)};
    } catch {
      return {wrong: "its show is not UTF-8 text"};
    }
  };
  const readFragment = () => {
    if (!location.hash.startsWith(FRAGMENT)) return Promise.resolve(null);
    const bytes = fromBase64url(location.hash.slice(FRAGMENT.length));
    if (bytes === null) return Promise.resolve({wrong: "its show is not base64url"});
    return unpacked(bytes).catch(() => ({wrong: "this browser cannot unpack it"}));
  };

  const say = line => { status.textContent = line; };
  // The address names the show that plays: its fragment follows, the query stays the timeline's.
  const showPlayed = () => {
    const made = fragment = program.call("webPlayingBuiltInShow").then(builtIn =>
      builtIn === 1 ? "" : program.call("webShowText").then(packed));
    made.then(hash => {
      if (made === fragment) {
        history.replaceState(history.state, "", location.pathname + location.search + hash);
      }
    }, () => {});
  };
  // Where the program counts a line and a column (characters, from 1), in the text's own units.
  const offsetOf = (whole, line, column) => {
    const lines = whole.split("\n");
    const before = lines.slice(0, line - 1).reduce((sum, l) => sum + l.length + 1, 0);
    const within = Array.from(lines[line - 1] || "").slice(0, column - 1).join("").length;
    return Math.min(before + within, whole.length);
  };

  const play = async () => {
    if (!started) return;
    const refused = await program.call("webPlayShow", ["show", area.value]);
    if (refused === "") {
      say("This show plays from its start.");
      showPlayed();
      return;
    }
    const {refusal, line, column} = JSON.parse(refused);
    say(`Not played (the show before plays on): ${refusal}`);
    const at = offsetOf(area.value, line, column);
    area.focus();
    area.setSelectionRange(at, at);
  };
  document.getElementById("show-play").addEventListener("click", play);
  area.addEventListener("keydown", event => {
    if (event.key !== "Enter" || !(event.ctrlKey || event.metaKey)) return;
    event.preventDefault();
    play();
  });
  addButton.addEventListener("click", async () => {
    if (!started) return;
    const added = await program.call("webAddPose", [area.value]);
    if (added === "") {
      say("No robot selected: choose one, and Add pose adds its pose to its script.");
      return;
    }
    area.value = added;
    say(`Robot ${program.reported.selectedRobot}'s pose added at the end of its script.`);
  });
  document.getElementById("show-reset").addEventListener("click", async () => {
    if (!started) return;
    program.call("webPlayBuiltInShow");
    area.value = await program.call("webShowText");
    say("The built-in show plays from its start.");
    showPlayed();
  });

  // As the page opens, while the program starts: the fragment read, which start waits for.
  const reading = readFragment().then(read => { linked = read; });
  // As the program starts: the link's show played, or the built-in one with a line that says
  // what was wrong; then its text in the panel.
  const start = async () => {
    await reading;
    started = true;
    if (linked !== null && "text" in linked) {
      const refused = await program.call("webPlayShow", ["link", linked.text]);
      if (refused !== "") linked = {wrong: JSON.parse(refused).refusal};
    }
    if (linked !== null && "wrong" in linked) {
      say(`The link's show could not be played, so the built-in show plays: ${linked.wrong}`);
    }
    if (linked !== null) showPlayed();
    area.value = await program.call("webShowText");
  };
  const follow = changes => {
    if ("selectedRobot" in changes) {
      addButton.setAttribute("aria-disabled", String(changes.selectedRobot === 0));
    }
  };

  return {start, follow, fragment: () => fragment};
})();
