// Run as a worker, beside the page, for one download: takes the played show's text, has the
// module build its glTF file and hands the page {bytes} (the buffer transferred, not copied), or
// {refusal} with what went wrong: a text that is no show, a module that could not be loaded or
// that stopped.
const exporter = makeExport();
const exportShow = (module, text) => {
  const encoded = new TextEncoder().encode(text);
  // The room first: making it may grow the memory, which replaces the old view of it.
  const room = module._webShowTextRoom(encoded.length);
  module.HEAPU8.set(encoded, room);
  if (!module._webExportShow()) return {refusal: module.UTF8ToString(module._webRefusal())};
  const address = module._webExportData();
  return {bytes: module.HEAPU8.slice(address, address + module._webExportSize())};
};
onmessage = ({data: text}) => exporter.then(module => exportShow(module, text)).then(
  answer => postMessage(answer, answer.bytes ? [answer.bytes.buffer] : []),
  error => postMessage({refusal: "the exporter stopped (" + (error.message || error) + ")"}));
