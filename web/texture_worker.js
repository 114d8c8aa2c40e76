// Run as a worker, beside the page: draws its part of the textures (those whose numbers leave the
// remainder `part` by `parts`), and hands them to the page as [name, bytes] pairs; none where the
// module could not be loaded.
const maker = makeTextures();
onmessage = ({data: {part, parts}}) => maker.then(module => {
  const files = [];
  for (let which = part; which < module._webTextureCount(); which += parts) {
    const address = module._webMakeTexture(which);
    files.push([module.UTF8ToString(module._webTextureName(which)),
                module.HEAPU8.slice(address, address + module._webTextureSize())]);
  }
  postMessage(files, files.map(([, data]) => data.buffer));
}, () => postMessage([]));
