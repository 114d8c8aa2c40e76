"use strict";
// The inspector: the selected robot's command, ticks to go, gait phase, position, joints and body
// tree, the robot choice and the body frames' box. The program reports it all, the state only
// when it changes, and the panel is rebuilt only then; it is no live region: while the show plays it stays
// quiet for screen readers, and is read when visited.
const inspector = (() => {
  const framesBox = document.getElementById("frames");
  const robotChoice = document.getElementById("robot");
  const none = document.getElementById("inspect-none");
  const state = document.getElementById("inspect-state");
  const joints = document.querySelector("#joints tbody");
  const tree = document.getElementById("tree");
  let started = false;

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

  const show = robot => {
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

  // What the program reported changed: the box, the choice and the panel follow the program,
  // whichever of keys, clicks or controls changed them.
  const follow = changes => {
    if (!started) return;
    if ("bodyFrames" in changes) framesBox.checked = changes.bodyFrames;
    if ("selectedRobot" in changes) robotChoice.value = String(changes.selectedRobot);
    if ("inspection" in changes) show(changes.inspection);
  };

  framesBox.addEventListener("change", () => {
    if (started) program.call("webSetBodyFrames", [framesBox.checked ? 1 : 0]);
  });
  robotChoice.addEventListener("change", () => {
    if (started) program.call("webSelectRobot", [Number(robotChoice.value)]);
  });

  // A click on the canvas, a press and release of the mouse that does not drag, picks what is
  // drawn under it; not the click that gives the canvas the keys, which only does that. Touch
  // keeps its tap, which pauses.
  const canvas = document.getElementById("canvas");
  const CLICK_SLOP_PX = 4;
  let pressed = null;
  canvas.addEventListener("pointerdown", event => {
    const focusing = document.activeElement !== canvas;
    pressed = event.pointerType === "touch" || event.button !== 0 || focusing ? null
      : {x: event.clientX, y: event.clientY};
  });
  canvas.addEventListener("pointerup", event => {
    if (!started || pressed === null || event.button !== 0) return;
    const moved = Math.hypot(event.clientX - pressed.x, event.clientY - pressed.y);
    pressed = null;
    if (moved <= CLICK_SLOP_PX) {
      program.call("webPick", canvasInput.canvasPoint(event.clientX, event.clientY));
    }
  });

  return {follow, start: () => { started = true; }};
})();
