// Draws from client-side arrays, as gl4es makes them for every glBegin/glEnd, replacing those of
// Emscripten's WebGL layer. WebGL draws only from buffers, so the arrays are copied into one
// before each draw. Emscripten's copies stride × count bytes for each array on its own, count
// being the number of indices: gl4es's arrays are interleaved, three or four of them in each
// 80-byte vertex, and its triangles index each vertex about three times, so the draws copied
// their vertices seven times over, 5.4 MB a frame here. These copy each run of interleaved vertices
// once, as far as the highest index reaches, and point each array into it at its own offset.
mergeInto(LibraryManager.library, {
  $uploadClientArrays__deps: ['$GL'],
  // Before a draw that reads the vertices below vertexCount: binds every enabled client-side array
  // to a buffer that holds its data, arrays that overlap in memory to one buffer (where each one's
  // offset in it suits its type, as WebGL asks).
  $uploadClientArrays: function(vertexCount) {
    GL.resetBufferBinding = false;
    var context = GL.currentContext;
    var arrays = [];
    for (var i = 0; i < context.maxVertexAttribs; ++i) {
      var cb = context.clientBuffers[i];
      if (!cb.clientside || !cb.enabled) continue;
      var typeBytes = GL.byteSizeByType[cb.type - GL.byteSizeByTypeRoot];
      var stride = cb.stride || cb.size * typeBytes;
      arrays.push({index: i, cb: cb, typeBytes: typeBytes, start: cb.ptr,
                   end: cb.ptr + Math.max(vertexCount - 1, 0) * stride + cb.size * typeBytes});
    }
    if (arrays.length == 0) return;
    GL.resetBufferBinding = true;
    arrays.sort(function(a, b) { return a.start - b.start; });
    var runs = [];
    arrays.forEach(function(array) {
      var run = runs.find(function(run) {
        return array.start < run.end && (array.start - run.start) % array.typeBytes == 0;
      });
      if (run) {
        run.end = Math.max(run.end, array.end);
        run.arrays.push(array);
      } else {
        runs.push({start: array.start, end: array.end, arrays: [array]});
      }
    });
    runs.forEach(function(run) {
      GLctx.bindBuffer(0x8892 /*GL_ARRAY_BUFFER*/, GL.getTempVertexBuffer(run.end - run.start));
      GLctx.bufferSubData(0x8892 /*GL_ARRAY_BUFFER*/, 0, HEAPU8.subarray(run.start, run.end));
      run.arrays.forEach(function(array) {
        var cb = array.cb;
        cb.vertexAttribPointerAdaptor.call(GLctx, array.index, cb.size, cb.type, cb.normalized,
                                           cb.stride, array.start - run.start);
      });
    });
  },

  glDrawArrays__deps: ['$GL', '$uploadClientArrays'],
  glDrawArrays__sig: 'viii',
  glDrawArrays: function(mode, first, count) {
    uploadClientArrays(first + count);
    GLctx.drawArrays(mode, first, count);
    GL.postDrawHandleClientVertexAttribBindings();
  },

  glDrawElements__deps: ['$GL', '$uploadClientArrays'],
  glDrawElements__sig: 'viiii',
  glDrawElements: function(mode, count, type, indices) {
    // The vertices the draw reads: up to the highest index, where the indices are in memory; as
    // many as there are indices (as the layer had it) where they are in a buffer already.
    var vertexCount = count;
    var clientIndices = !GLctx.currentElementArrayBufferBinding;
    if (clientIndices) {
      var heap = type == 0x1401 /*GL_UNSIGNED_BYTE*/ ? HEAPU8 :
                 type == 0x1403 /*GL_UNSIGNED_SHORT*/ ? HEAPU16 : HEAPU32;
      var size = count * heap.BYTES_PER_ELEMENT;
      var values = indices % heap.BYTES_PER_ELEMENT == 0 ?
                   heap.subarray(indices / heap.BYTES_PER_ELEMENT, (indices + size) / heap.BYTES_PER_ELEMENT) :
                   new heap.constructor(HEAPU8.slice(indices, indices + size).buffer);
      var highest = -1;
      for (var k = 0; k < values.length; ++k) {
        if (values[k] > highest) highest = values[k];
      }
      vertexCount = highest + 1;
      GLctx.bindBuffer(0x8893 /*GL_ELEMENT_ARRAY_BUFFER*/, GL.getTempIndexBuffer(size));
      GLctx.bufferSubData(0x8893 /*GL_ELEMENT_ARRAY_BUFFER*/, 0,
                          HEAPU8.subarray(indices, indices + size));
      indices = 0;
    }
    uploadClientArrays(vertexCount);
    GLctx.drawElements(mode, count, type, indices);
    GL.postDrawHandleClientVertexAttribBindings();
    if (clientIndices) GLctx.bindBuffer(0x8893 /*GL_ELEMENT_ARRAY_BUFFER*/, null);
  },

  // The names gl4es reaches them by.
  emscripten_glDrawArrays: 'glDrawArrays',
  emscripten_glDrawArrays__sig: 'viii',
  emscripten_glDrawElements: 'glDrawElements',
  emscripten_glDrawElements__sig: 'viiii',
});
