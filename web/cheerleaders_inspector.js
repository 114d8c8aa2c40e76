"use strict";
// The inspector: the selected robot's command, ticks to go, gait phase, position, joints and body
// tree, the robot choice and the body frames' box. The program hands it all as JSON; the panel is
// rebuilt only when that text changes, and it is no live region: while the show plays it stays
// quiet for screen readers, and is read when visited.
const inspector = (() => {
  const framesBox = document.getElementById("frames");
  const robotChoice = document.getElementById("robot");
  const none = document.getElementById("inspect-none");
  const state = document.getElementById("inspect-state");
  const joints = document.querySelector("#joints tbody");
  const tree = document.getElementById("tree");
  let started = false, shown = null;

  const cell = (tag, textContent) => Object.assign(document.createElement(tag), {textContent});

  // Each node under the nearest node before it that lies one level up.
  const showTree = rows => {
    const lists = [tree];
    tree.replaceChildren();
    for (const {name, depth} of rows) {
      const item = cell("li", name);
      lists[depth].append(item);
      lists.length = depth + 1;
      lists.push(item.appendChild(document.createElement("ul")));
    }
    tree.querySelectorAll("ul:empty").forEach(list => list.remove());
  };

  const show = json => {
    shown = json;
    const robot = JSON.parse(json);
    none.hidden = robot !== null;
    for (const part of [state, joints.parentElement, tree]) part.hidden = robot === null;
    if (robot === null) return;
    state.replaceChildren(...[["Robot", String(robot.robot)], ["Command", robot.command],
                              ["Ticks to go", robot.ticksToGo], ["Gait phase", robot.gait],
                              ["Position", robot.position]].flatMap(([term, value]) =>
      [cell("dt", term), cell("dd", value)]));
    joints.replaceChildren(...robot.joints.map(({name, angle, target}) => {
      const row = document.createElement("tr");
      row.append(cell("th", name), cell("td", angle), cell("td", target === null ? "" : target));
      return row;
    }));
    showTree(robot.tree);
  };

  // After each frame and after anything the page did: the box, the choice and the panel follow
  // the program, whichever of keys, clicks or controls changed them.
  const frame = () => {
    if (!started) return;
    framesBox.checked = Module._webBodyFrames() !== 0;
    robotChoice.value = String(Module._webSelectedRobot());
    const json = Module.ccall("webInspection", "string", [], []);
    if (json !== shown) show(json);
  };

  framesBox.addEventListener("change", () => {
    if (started) { Module._webSetBodyFrames(framesBox.checked ? 1 : 0); frame(); }
  });
  robotChoice.addEventListener("change", () => {
    if (started) { Module._webSelectRobot(Number(robotChoice.value)); frame(); }
  });

  // A click on the canvas, a press and release of the mouse that does not drag, picks what is
  // drawn under it. Touch keeps its tap, which pauses.
  const canvas = document.getElementById("canvas");
  const CLICK_SLOP_PX = 4;
  let pressed = null;
  canvas.addEventListener("pointerdown", event => {
    pressed = event.pointerType === "touch" || event.button !== 0 ? null
      : {x: event.offsetX, y: event.offsetY};
  });
  canvas.addEventListener("pointerup", event => {
    if (!started || pressed === null || event.button !== 0) return;
    const moved = Math.hypot(event.offsetX - pressed.x, event.offsetY - pressed.y);
    pressed = null;
    if (moved <= CLICK_SLOP_PX) {
      Module._webPick(Math.round(event.offsetX), Math.round(event.offsetY));
      frame();
    }
  });

  return {frame, start: () => { started = true; frame(); }};
})();
