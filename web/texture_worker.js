// Run as a worker, beside the page: draws the four textures and hands them to the page as
// [name, bytes] pairs.
makeTextures().then(maker => {
  const files = maker.FS.readdir("/").filter(name => name.endsWith(".bmp"))
    .map(name => [name, maker.FS.readFile("/" + name)]);
  postMessage(files, files.map(([, data]) => data.buffer));
}, () => postMessage([]));
