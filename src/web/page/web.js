// The converter in the page: reads the two files that the author drops or picks, converts them with
// the WebAssembly build of the converter, and shows the status, the messages, the map page and a
// button that saves the script. Every text of a dump reaches this page only as text
// (textContent); the map page stands in a sandboxed frame of its own.
var Module = (function () {
  'use strict';

  // Which part of the last conversion the converter hands out (as in page_exports.cpp).
  var PART_SCRIPT = 0, PART_MESSAGES = 1, PART_MAP_PAGE = 2;
  var MEANINGS = {
    0: 'converted',
    1: 'nothing converted',
    2: 'converted with errors'
  };
  var LABELS = { dump: 'the dump', objects: 'the object name list' };

  var runtime = null;
  var runtimeFailure = null;
  // The bytes read of each file: { name, bytes }; null until read, or after a failed read.
  var files = { dump: null, objects: null };
  // Why the last read of each file failed: { name, reason }; null when it did not.
  var failures = { dump: null, objects: null };
  var script = null;
  // Conversions shown so far, in the status element's data-conversions (a test waits on it).
  var conversions = 0;
  var decoder = new TextDecoder('utf-8');

  // The page's element of the given id.
  function byId(id) { return document.getElementById(id); }

  // Shows the exit status (null while there is none) and its meaning.
  function showStatus(status, text) {
    var element = byId('status');
    element.setAttribute('data-status', status === null ? '' : String(status));
    element.textContent = text;
  }

  // Shows the messages as the command line prints them, and a note of the page's own beside them.
  function showMessages(text, note) {
    byId('messages').textContent = text;
    byId('messages-note').textContent = note;
  }

  // Shows what became of the file picked or dropped for the dump or the object name list.
  function showFileState(kind, text, className) {
    var element = byId(kind + '-state');
    element.textContent = text;
    element.className = 'file-state' + (className ? ' ' + className : '');
  }

  // Takes away the last conversion's script, timing and map page.
  function clearResult() {
    script = null;
    byId('save').hidden = true;
    byId('timing').textContent = '';
    var map = byId('map');
    map.onload = null;
    map.srcdoc = '';
  }

  // The bytes of one part of the last conversion, copied out of the converter's memory.
  function partBytes(part) {
    var data = runtime._d2l_result_data(part);
    var size = runtime._d2l_result_size(part);
    return runtime.HEAPU8.slice(data, data + size);
  }

  // Copies bytes into the converter's memory; the caller frees the place.
  function bytesIn(bytes) {
    var place = runtime._malloc(Math.max(bytes.length, 1));
    if (!place) throw new Error('out of memory for ' + bytes.length + ' bytes');
    runtime.HEAPU8.set(bytes, place);
    return place;
  }

  // Converts the two files' bytes: { status, script (bytes), messages, mapPage }.
  function convertBytes(dump, objects, strict) {
    var dumpPlace = bytesIn(dump);
    var objectsPlace = 0;
    try {
      objectsPlace = bytesIn(objects);
      var status = runtime._d2l_convert(dumpPlace, dump.length, objectsPlace, objects.length, strict ? 1 : 0);
      return {
        status: status,
        script: partBytes(PART_SCRIPT),
        messages: decoder.decode(partBytes(PART_MESSAGES)),
        mapPage: decoder.decode(partBytes(PART_MAP_PAGE))
      };
    } finally {
      runtime._free(dumpPlace);
      if (objectsPlace) runtime._free(objectsPlace);
    }
  }

  // The status line: the status and its meaning.
  function statusText(status, strict) {
    var text = 'Status ' + status + ': ' + MEANINGS[status];
    if (status === 0 && !strict) text += ' (there may be warnings)';
    if (status === 2) text += strict ? ' (or warnings, under --strict)' : '';
    return text;
  }

  // Converts what was read, when the runtime and both files are there; says what is missing otherwise.
  function convertWhenReady() {
    if (runtimeFailure) return;
    var failed = ['dump', 'objects'].filter(function (kind) { return failures[kind]; });
    if (failed.length > 0) {
      clearResult();
      showStatus(1, 'Status 1: ' + MEANINGS[1]);
      showMessages(failed.map(function (kind) {
        return 'dungeon2lua: cannot read ' + failures[kind].name + ': ' + failures[kind].reason + '\n';
      }).join(''), 'The browser cannot read a file again once it changed on disk: drop or pick ' +
        failed.map(function (kind) { return LABELS[kind]; }).join(' and ') + ' again.');
      return;
    }
    if (!runtime) {
      showStatus(null, 'Waiting for the runtime…');
      return;
    }
    var missing = ['dump', 'objects'].filter(function (kind) { return !files[kind]; });
    if (missing.length > 0) {
      clearResult();
      showStatus(null, 'Waiting for ' + missing.map(function (kind) { return LABELS[kind]; }).join(' and ') + '.');
      showMessages('', '');
      return;
    }
    var strict = byId('strict').checked;
    var started = performance.now();
    var result;
    try {
      result = convertBytes(files.dump.bytes, files.objects.bytes, strict);
    } catch (error) {
      failRuntime(error);
      return;
    }
    var converted = performance.now();
    script = result.script;
    showStatus(result.status, statusText(result.status, strict));
    byId('status').setAttribute('data-conversions', String(++conversions));
    byId('save').hidden = result.status === 1;
    showMessages(result.messages, result.messages === '' ? 'No messages: the dump converted without a problem.' : '');
    var map = byId('map');
    map.onload = function () {
      var loaded = performance.now();
      var timing = byId('timing');
      timing.setAttribute('data-map-ms', (loaded - converted).toFixed(1));
      timing.textContent += ' The map page was drawn ' + Math.round(loaded - converted) + ' ms after that.';
    };
    map.srcdoc = result.mapPage;
    var shown = performance.now();
    var timing = byId('timing');
    timing.setAttribute('data-convert-ms', (converted - started).toFixed(1));
    timing.setAttribute('data-shown-ms', (shown - started).toFixed(1));
    timing.removeAttribute('data-map-ms');
    timing.textContent = 'Converted ' + files.dump.bytes.length + ' bytes in ' + Math.round(converted - started) +
      ' ms.';
  }

  // The converter stopped (out of memory, say): it cannot convert again until the page is reloaded.
  function failRuntime(error) {
    runtimeFailure = error;
    clearResult();
    showStatus(1, 'Status 1: ' + MEANINGS[1]);
    showMessages('dungeon2lua: the converter stopped: ' + String(error && error.message ? error.message : error),
                 'Reload the page to convert again.');
  }

  // Reads a file that was picked or dropped for the dump or the object name list, then converts.
  function readFile(kind, file) {
    files[kind] = null;
    failures[kind] = null;
    var input = byId(kind + '-file');
    if (input.files.length === 0 || input.files[0] !== file) input.value = '';
    showFileState(kind, 'Reading ' + file.name + '…', '');
    var reader = new FileReader();
    reader.onload = function () {
      files[kind] = { name: file.name, bytes: new Uint8Array(reader.result) };
      showFileState(kind, file.name + ': ' + files[kind].bytes.length + ' bytes, read at ' +
                    new Date().toLocaleTimeString() + '. Changed it since? Drop or pick it again.', 'loaded');
      convertWhenReady();
    };
    reader.onerror = function () {
      var reason = reader.error ? reader.error.name + ': ' + reader.error.message : 'unknown error';
      failures[kind] = { name: file.name, reason: reason };
      showFileState(kind, 'Cannot read ' + file.name + '. If it changed since it was picked, drop or pick it again.',
                    'failed');
      convertWhenReady();
    };
    reader.readAsArrayBuffer(file);
  }

  // Saves the last conversion's script as LUA_dungeon.lua, the bytes as the converter wrote them.
  function save() {
    if (!script) return;
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([script], { type: 'application/octet-stream' }));
    link.download = 'LUA_dungeon.lua';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
  }

  // Files dropped: onto a box, one file is that box's; anywhere else, or several at once, the one
  // named obj_list.txt is the object name list and another one the dump.
  function dropped(event) {
    event.preventDefault();
    document.body.classList.remove('over');
    var list = event.dataTransfer ? Array.prototype.slice.call(event.dataTransfer.files) : [];
    if (list.length === 0) return;
    var box = event.target.closest ? event.target.closest('.drop') : null;
    if (box && list.length === 1) {
      readFile(box.id === 'objects-drop' ? 'objects' : 'dump', list[0]);
      return;
    }
    var objects = list.filter(function (file) { return file.name.toLowerCase() === 'obj_list.txt'; })[0];
    var dump = list.filter(function (file) { return file !== objects; })[0];
    if (objects) readFile('objects', objects);
    if (dump) readFile('dump', dump);
  }

  // Listens to the file inputs, the --strict box, the save button and files dropped onto the page.
  function watchInputs() {
    ['dump', 'objects'].forEach(function (kind) {
      var input = byId(kind + '-file');
      input.addEventListener('change', function () {
        if (input.files.length > 0) readFile(kind, input.files[0]);
      });
      // Picking the same file again, after it changed, must read it again: a choice that stays the
      // same would not count as a change.
      input.addEventListener('click', function () { input.value = ''; });
    });
    byId('strict').addEventListener('change', convertWhenReady);
    byId('save').addEventListener('click', save);
    // A file dropped anywhere else would make the browser open it in place of this page.
    document.addEventListener('dragover', function (event) {
      event.preventDefault();
      document.body.classList.add('over');
    });
    document.addEventListener('dragleave', function (event) {
      if (!event.relatedTarget) document.body.classList.remove('over');
    });
    document.addEventListener('drop', dropped);
  }

  watchInputs();
  showStatus(null, 'Waiting for the runtime…');

  return {
    onRuntimeInitialized: function () {
      runtime = Module;
      convertWhenReady();
    },
    onAbort: function (what) { failRuntime(what); }
  };
})();
