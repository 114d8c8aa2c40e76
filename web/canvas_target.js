// The canvas the program draws on, by the name "#canvas": the page's element where the program
// runs on the page's main thread, the OffscreenCanvas handed to its worker where it runs in one.
// Either way the page's script gives it as Module.canvas.
mergeInto(LibraryManager.library, {
  webTakeCanvas__deps: ['$specialHTMLTargets'],
  webTakeCanvas: function() {
    if (Module.canvas) specialHTMLTargets['#canvas'] = Module.canvas;
  },
});
