#!/usr/bin/python3
"""Renders the show with the snapshot tool (the program's own start-up and drawing code) and
pipes its raw frames straight into one ffmpeg, which encodes them twice: a looping animated WebP
at the show's real pace (every fourth tick at 15 frames per second) and an H.264 MP4 with every
tick at 60 frames per second. One line on the terminal follows the frames rendered and encoded.

The WebP is lossless: it stores only the part of each frame that changed, and a lossy encoding
of those parts leaves faint trails behind the robots that no later frame clears.

Usage: make_video.py BUILD_DIR [--webp PATH] [--mp4 PATH] [--ticks RANGE] [--lossless]
                      [--textures DIR]

RANGE is a snapshot tick range, 0-end by default (the whole show and one second past its last
console line). --lossless encodes the MP4 without loss too (RGB H.264), for checking its frames
against the snapshot tool's pictures. The textures come from DIR, by default BUILD_DIR/run,
where the texture generator writes any that are missing. Needs an X display (run it through with_display.sh)."""

import argparse
import os
import select
import subprocess
import sys
import time

WIDTH, HEIGHT = 480, 400
TICKS_PER_SECOND = 60
WEBP_TICK_STEP = 4  # every fourth tick at 15 frames per second: the real pace of the show
MP4_CRF = 20
WEBP_LIMIT = 5_000_000  # bytes
MP4_LIMIT = 8_000_000
TEXTURE_FOLDER = "run"


def partial(path):
    """Where a file is written until it is complete, so a failed run leaves the old one."""
    folder, name = os.path.split(os.path.abspath(path))
    return os.path.join(folder, "." + name + ".partial")


def encoder_command(webp, mp4, lossless):
    """One ffmpeg reading raw RGB frames on standard input, its progress on standard output."""
    command = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostats", "-progress", "pipe:1",
               "-stats_period", "0.2",
               "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", f"{WIDTH}x{HEIGHT}",
               "-framerate", str(TICKS_PER_SECOND), "-i", "pipe:0"]
    if mp4:
        if lossless:
            command += ["-map", "0", "-c:v", "libx264rgb", "-qp", "0", "-pix_fmt", "rgb24"]
        else:
            command += ["-map", "0", "-c:v", "libx264", "-preset", "medium", "-crf", str(MP4_CRF),
                        "-pix_fmt", "yuv420p"]
        command += ["-movflags", "+faststart", "-f", "mp4", partial(mp4)]
    if webp:
        rate = TICKS_PER_SECOND // WEBP_TICK_STEP
        command += ["-map", "0", "-vf",
                    f"select=not(mod(n\\,{WEBP_TICK_STEP})),setpts=N/{rate}/TB",
                    "-r", str(rate), "-c:v", "libwebp_anim", "-lossless", "1", "-loop", "0",
                    "-f", "webp", partial(webp)]
    return command


class Progress:
    """The one updating line: frames rendered of the total, and frames encoded."""

    def __init__(self):
        self.rendered = self.encoded = self.total = 0
        self.shown = None
        self.last_time = 0.0
        self.interval = 0.1 if sys.stdout.isatty() else 2.0  # a log gets fewer updates

    def show(self, final=False):
        line = f"video: rendered {self.rendered}/{self.total or '?'} frames, " \
               f"encoded {self.encoded}/{self.total or '?'}"
        now = time.monotonic()
        if line != self.shown and (final or now - self.last_time >= self.interval):
            # On a terminal the line is rewritten in place; a log gets one line per update.
            sys.stdout.write("\r" + line if sys.stdout.isatty() else line + "\n")
            sys.stdout.flush()
            self.shown, self.last_time = line, now


def run(build, webp, mp4, ticks, lossless, textures):
    textures = textures or os.path.join(build, TEXTURE_FOLDER)
    os.makedirs(textures, exist_ok=True)
    subprocess.run([os.path.join(build, "make_textures"), "--keep-existing", textures],
                   check=True, stdout=subprocess.DEVNULL)
    for path in (webp, mp4):
        if path:
            os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)

    renderer = subprocess.Popen(
        [os.path.join(build, "tools", "snapshot"), "--video", "--ticks", ticks,
         "--textures", textures],
        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    encoder = subprocess.Popen(encoder_command(webp, mp4, lossless), stdin=renderer.stdout,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    renderer.stdout.close()  # the encoder holds the pipe now; the renderer sees it close

    progress = Progress()
    messages = {renderer.stderr: b"", encoder.stderr: b""}  # anything else either one says
    pending = {renderer.stderr: b"", encoder.stdout: b""}
    streams = [renderer.stderr, encoder.stdout, encoder.stderr]
    while streams:
        ready, _, _ = select.select(streams, [], [])
        for stream in ready:
            chunk = os.read(stream.fileno(), 65536)
            if not chunk:
                streams.remove(stream)
                continue
            if stream is encoder.stderr:
                messages[stream] += chunk
                continue
            pending[stream] += chunk
            *lines, pending[stream] = pending[stream].split(b"\n")
            for line in lines:
                if stream is renderer.stderr and line.startswith(b"frame "):
                    done, total = line[6:].split(b"/")
                    progress.rendered, progress.total = int(done), int(total)
                elif stream is encoder.stdout and line.startswith(b"frame="):
                    progress.encoded = int(line[6:])
                elif stream is renderer.stderr:
                    messages[stream] += line + b"\n"
        progress.show()
    progress.show(final=True)
    if sys.stdout.isatty():
        sys.stdout.write("\n")
    outputs = [(path, limit) for path, limit in ((webp, WEBP_LIMIT), (mp4, MP4_LIMIT)) if path]
    failed = False
    for name, process in (("snapshot", renderer), ("ffmpeg", encoder)):
        status = process.wait()
        text = messages[process.stderr].decode(errors="replace").strip()
        if status != 0 or text:
            print(f"{name} ({'status ' + str(status) if status else 'warnings'}): {text}",
                  file=sys.stderr)
        failed = failed or status != 0
    for path, limit in outputs:
        size = 0 if failed else os.path.getsize(partial(path))
        if lossless and path == mp4:
            limit = size  # a check clip, not for publishing
        if size > limit:
            print(f"video: {path} would be {size / 1e6:.2f} MB, more than its limit of "
                  f"{limit / 1e6:.0f} MB; left unchanged", file=sys.stderr)
            failed = True
    for path, _ in outputs:
        if failed:
            if os.path.exists(partial(path)):
                os.remove(partial(path))
            continue
        os.replace(partial(path), path)
        print(f"video: {path}: {os.path.getsize(path) / 1e6:.2f} MB")
    return 1 if failed else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build")
    parser.add_argument("--webp")
    parser.add_argument("--mp4")
    parser.add_argument("--ticks", default="0-end")
    parser.add_argument("--lossless", action="store_true")
    parser.add_argument("--textures")
    args = parser.parse_args()
    if not args.webp and not args.mp4:
        parser.error("name at least one of --webp and --mp4")
    return run(args.build, args.webp, args.mp4, args.ticks, args.lossless,
               args.textures)


if __name__ == "__main__":
    sys.exit(main())
