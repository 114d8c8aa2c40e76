"""The web page's Download glTF in headless Chromium, either way it runs the program: the
exporter's own module in a worker, the desktop's file, and what went wrong said."""

import base64
import json
import os
import subprocess
import time

import numpy
import pytest

import harness
from golden_test import LEVELS, SIDE_VIEW_KEYS
from harness import SCENE_GEOMETRY, SHOW_LINES
from web_page import DRAW_COUNTER, GLTF_FILE
from web_support import (MAX_SHARES, PAGE_DIR, choose_robot, drag_slider, inspector_angles,
                         mirror_of, press, share_off)


# Every worker the page makes, by its script, and the exporter's script where the test puts it.
WORKERS = """window.workersMade = []; window.exporterAt = "cheerleaders_export.js";
const PageWorker = window.Worker;
window.Worker = class extends PageWorker {
    constructor(url, ...options) {
        workersMade.push(String(url));
        super(url === "cheerleaders_export.js" ? exporterAt : url, ...options);
    }
};"""
DOWNLOAD_STATE = ("(b => [b.getAttribute('aria-busy'), b.textContent, document.getElementById("
                  "'status').textContent])(document.getElementById('download-gltf'))")
# A show's text given to the exporter's module in a worker of the test's: the file's bytes as a
# data address, or what was refused.
EXPORT_IN_WORKER = """text => new Promise(done => {
    const worker = new Worker("cheerleaders_export.js");
    worker.onmessage = ({data}) => {
        worker.terminate();
        if (!data.bytes) return done({refusal: data.refusal});
        const reader = new FileReader();
        reader.onload = () => done({bytes: reader.result});
        reader.readAsDataURL(new Blob([data.bytes]));
    };
    worker.postMessage(text);
})"""


def desktop(*arguments):
    """The desktop program's run, without a display, and its standard output."""
    return subprocess.run([os.environ["CHEERLEADERS"], *arguments], check=True, timeout=60,
                          capture_output=True, env={k: v for k, v in os.environ.items()
                                                    if k != "DISPLAY"}).stdout


def test_download_gltf_saves_the_desktops_file_from_a_module_of_its_own(start_page, tmp_path):
    """The page fetches no exporter until Download glTF is clicked, and the program carries none
    of it; the click saves the very file the desktop's --export-gltf writes, from one worker
    however often it is clicked while the button says it is busy."""
    page = start_page(PAGE_DIR, script=WORKERS)
    assert not [path for path in page.server.requests if "export" in path], page.server.requests
    # The glTF writer's keys are in the exporter's module and not in the program.
    for name, holds in [("cheerleaders_export.wasm", True), ("cheerleaders.wasm", False)]:
        with open(os.path.join(PAGE_DIR, name), "rb") as f:
            code = f.read()
        assert (b"bufferView" in code and b"componentType" in code) == holds, name

    page.allow_downloads(tmp_path)
    started = time.monotonic()
    page.click("#download-gltf")
    busy, label, said = page.evaluate(DOWNLOAD_STATE)
    assert busy == "true" and label != "Download glTF", (busy, label)
    page.click("#download-gltf")
    glb = page.saved_file(tmp_path / GLTF_FILE)
    seconds = time.monotonic() - started
    desktop("--export-gltf", str(tmp_path / "desktop.glb"))
    assert glb == (tmp_path / "desktop.glb").read_bytes(), "the page's file is not the desktop's"
    harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE), lambda state: state[0] == "false",
                       10, "the button stays busy")
    assert page.evaluate(DOWNLOAD_STATE) == ["false", "Download glTF", ""]
    assert page.evaluate("workersMade.filter(url => url.includes('export'))") == [
        "cheerleaders_export.js"], "a click while busy started another export"
    assert sorted(os.listdir(tmp_path)) == ["cheerleaders-show.glb", "desktop.glb"]
    sizes = {name: os.path.getsize(os.path.join(PAGE_DIR, name)) for name in
             ("cheerleaders_export.js", "cheerleaders_export.wasm")}
    print(f"Download glTF: {len(glb)} bytes saved {seconds:.2f} s after the click; exporter's "
          f"module {sizes}")
    assert page.errors == [] and page.server.failed == []


def test_download_gltf_says_what_went_wrong_and_exports_the_show_it_is_given(start_page,
                                                                              tmp_path):
    """A text that is no show and an exporter that cannot be loaded each leave a line on the
    status line and the button ready again, and the next download clears it; the exporter reads
    the show it is handed: a spelled show's text gives the desktop's file of that show."""
    page = start_page(PAGE_DIR, script=WORKERS)
    page.evaluate("""window.callOfPage = program.call; program.call = (name, ...rest) =>
        name === "webShowText" ? Promise.resolve("cheerleaders show 1\\nrobot 9\\n")
                               : callOfPage(name, ...rest)""")
    page.click("#download-gltf")
    state = harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE),
                               lambda state: state[0] == "false", 60, "the button stays busy")
    assert state[2].startswith("Download glTF failed: played show:2:"), state
    page.evaluate("program.call = callOfPage; exporterAt = 'cheerleaders_missing.js'")
    page.click("#download-gltf")
    state = harness.wait_until(lambda: page.evaluate(DOWNLOAD_STATE),
                               lambda state: state[0] == "false", 60, "the button stays busy")
    assert state[2].startswith("Download glTF failed: "), state
    page.evaluate("exporterAt = 'cheerleaders_export.js'")
    page.download_gltf(tmp_path)
    assert page.evaluate(DOWNLOAD_STATE) == ["false", "Download glTF", ""]

    text = desktop("--spell", "GO", "--print-show").decode()
    made = page.evaluate(f"({EXPORT_IN_WORKER})({json.dumps(text)})")
    desktop("--spell", "GO", "--export-gltf", str(tmp_path / "go.glb"))
    assert "bytes" in made, made
    glb = base64.b64decode(made["bytes"].split(",", 1)[1])
    assert glb == (tmp_path / "go.glb").read_bytes(), "the spelled show's file is not the desktop's"
    assert glb != (tmp_path / GLTF_FILE).read_bytes(), "the spelled show was not read"
    assert page.evaluate(f"({EXPORT_IN_WORKER})('cheerleaders show 2\\n')")["refusal"].startswith(
        "played show:1:"), "a text that is no show gave a file"
