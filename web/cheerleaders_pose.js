"use strict";
// The pose panel: while a robot is selected and the show is paused, a slider and a number field
// for each of its joints, Undo, Redo, Mirror and Copy pose. Glue: the joints, their angles and
// what can be taken back come in the program's report; a joint goes back to the program by its
// name, a drag as one step (begun as the slider is taken, ended as it is let go).
const posePanel = (() => {
  const panel = document.getElementById("pose");
  const rows = document.getElementById("pose-joints");
  const undoButton = document.getElementById("pose-undo");
  const redoButton = document.getElementById("pose-redo");
  const copyButton = document.getElementById("pose-copy");
  const poseText = document.getElementById("pose-text");
  const controls = new Map(); // joint name -> {slider, field}
  let started = false, dragging = false;

  const setJoint = (name, value) => program.call("webPoseSet", [name, value]);
  const angleOf = name => {
    const robot = program.reported.inspection;
    const joint = robot && robot.joints.find(j => j.name === name);
    return joint ? joint.angle : "";
  };

  const row = (name, k) => {
    const id = "pose-joint-" + k;
    const label = Object.assign(document.createElement("label"), {htmlFor: id,
                                                                  textContent: name});
    const slider = Object.assign(document.createElement("input"),
                                 {type: "range", id, min: -360, max: 360, step: 0.5});
    const field = Object.assign(document.createElement("input"),
                                {type: "number", min: -360, max: 360, step: 0.5});
    field.setAttribute("aria-label", name + ", degrees");
    // The drag is one step: begun with its first move, ended as the slider is let go (a key on
    // the slider is a move and a letting go of its own).
    slider.addEventListener("input", () => {
      if (!dragging) {
        dragging = true;
        program.call("webPoseBegin").then(begun => { if (begun !== 1) dragging = false; });
      }
      setJoint(name, Number(slider.value));
    });
    slider.addEventListener("change", () => {
      program.call("webPoseEnd");
      dragging = false;
    });
    // A typed value is one step; one the program refuses shows the joint's angle again.
    field.addEventListener("change", () => {
      const text = field.value.trim();
      // Begun, set (refused outside a step) and ended, in this order, whichever way the
      // program runs.
      const begun = program.call("webPoseBegin");
      const set = setJoint(name, text === "" ? NaN : Number(text));
      program.call("webPoseEnd");
      Promise.all([begun, set]).then(([b, s]) => {
        if (b !== 1 || s !== 1) field.value = angleOf(name);
      });
    });
    controls.set(name, {slider, field});
    return [label, slider, field];
  };

  // The angles as the program reports them; a field being typed into keeps its text.
  const show = robot => {
    if (robot === null) return;
    const names = robot.joints.map(j => j.name);
    if (names.join() !== Array.from(controls.keys()).join()) {
      controls.clear();
      rows.replaceChildren(...names.flatMap(row));
    }
    for (const {name, angle} of robot.joints) {
      const {slider, field} = controls.get(name);
      slider.value = angle;
      if (document.activeElement !== field) field.value = angle;
    }
  };

  const setEnabled = (button, enabled) => button.setAttribute("aria-disabled", String(!enabled));
  const follow = changes => {
    if (!started) return;
    if ("posing" in changes) panel.hidden = !changes.posing;
    if ("canUndoPose" in changes) setEnabled(undoButton, changes.canUndoPose);
    if ("canRedoPose" in changes) setEnabled(redoButton, changes.canRedoPose);
    if ("inspection" in changes) show(changes.inspection);
  };

  // Disabled by aria-disabled, not by the attribute, so that the focus stays on the button.
  const undo = () => program.call("webPoseUndo");
  const redo = () => program.call("webPoseRedo");
  undoButton.addEventListener("click", undo);
  redoButton.addEventListener("click", redo);
  document.getElementById("pose-mirror").addEventListener("click", () => program.call("webPoseMirror"));
  panel.addEventListener("keydown", event => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
    const key = event.key.toLowerCase();
    const action = key === "z" ? (event.shiftKey ? redo : undo) : key === "y" ? redo : null;
    if (action === null) return;
    event.preventDefault();
    action();
  });

  copyButton.addEventListener("click", () => {
    program.call("webPoseLine").then(line => {
    // Where the clipboard is refused, the line is there to copy by hand.
    const offer = () => {
      poseText.value = line;
      poseText.hidden = false;
      poseText.select();
    };
    const copied = () => {
      poseText.hidden = true;
      copyButton.textContent = "Copied";
      setTimeout(() => { copyButton.textContent = "Copy pose"; }, 2000);
    };
    (navigator.clipboard ? navigator.clipboard.writeText(line) : Promise.reject()).then(copied,
                                                                                         offer);
    });
  });

  return {follow, start: () => { started = true; }};
})();
