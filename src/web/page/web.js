// The converter in the page: reads the two files that the author drops or picks, converts them with
// the WebAssembly build of the converter, and shows the status, the messages, the map page and a
// button that saves the script. Every text of a dump reaches this page only as text
// (textContent); the map page stands in a sandboxed frame of its own.
var Module = (function () {
  'use strict';

  // Which part of the last conversion the converter hands out (as in page_exports.cpp).
  var PART_SCRIPT = 0, PART_MESSAGES = 1, PART_MAP_PAGE = 2, PART_COUNTS = 3, PART_COMPLETED_LIST = 4,
    PART_LIST_COMPLETION = 5;
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
  // The last conversion's object name list completed with the pairs the dump needs (bytes, empty
  // when it needs none or is refused), and the line that says so: { bytes, line }; null before.
  var completion = null;
  // Conversions shown so far, in the status element's data-conversions (a test waits on it).
  var conversions = 0;
  var decoder = new TextDecoder('utf-8');
  // The blob: address of the map page shown in the frame, or null. The frame loads the page's bytes
  // from it as a file is loaded, which a large page's HTML parser takes several times faster than
  // the same text given as the frame's srcdoc.
  var mapAddress = null;

  // The page's element of the given id.
  function byId(id) { return document.getElementById(id); }

  // Shows the exit status (null while there is none) and its meaning.
  function showStatus(status, text) {
    var element = byId('status');
    element.setAttribute('data-status', status === null ? '' : String(status));
    element.textContent = text;
  }

  // Shows the messages as the command line prints them, and a note of the page's own beside them.
  // A message about a line of the dump or the object name list (when linked) picks its entry in
  // the map page's problem list.
  function showMessages(text, note, linked) {
    var box = byId('messages');
    box.textContent = '';
    byId('messages-note').textContent = note;
    if (!linked) { box.textContent = text; return; }
    text.split(/(?<=\n)/).forEach(function (line) {
      // The program's own lines and the closing count belong to no line of a file.
      if (!/:[0-9]+(:[0-9]+)?: (error|warning|note): /.test(line)) { box.appendChild(document.createTextNode(line)); return; }
      var entry = document.createElement('span');
      entry.className = 'message';
      entry.setAttribute('role', 'link');
      entry.tabIndex = 0;
      entry.title = 'show it in the map';
      entry.textContent = line;
      var shown = line.replace(/\n$/, '');
      var pick = function () { toMap({ problem: shown }); };
      entry.addEventListener('click', pick);
      entry.addEventListener('keydown', function (event) { if (event.key === 'Enter') pick(); });
      box.appendChild(entry);
    });
  }

  // Hands a message to the map page in its frame, and shows the frame.
  function toMap(message) {
    var map = byId('map');
    if (!map.contentWindow) return;
    map.contentWindow.postMessage(message, '*');
    byId('map-section').scrollIntoView({ block: 'start' });
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
    completion = null;
    byId('save').hidden = true;
    byId('complete-list').hidden = true;
    byId('complete-list-state').textContent = '';
    byId('timing').textContent = '';
    byId('map-state').textContent = '';
    var map = byId('map');
    map.onload = null;
    map.removeAttribute('src');
    if (mapAddress) URL.revokeObjectURL(mapAddress);
    mapAddress = null;
    // Collapsed, not hidden: a frame that is not displayed is not laid out again at once when shown.
    byId('map-section').classList.add('empty');
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

  // Converts the two files' bytes: { status, script (bytes), messages, mapPage (bytes) }.
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
        mapPage: partBytes(PART_MAP_PAGE),
        counts: status === 1 ? null : JSON.parse(decoder.decode(partBytes(PART_COUNTS)) || 'null'),
        completion: { bytes: partBytes(PART_COMPLETED_LIST), line: decoder.decode(partBytes(PART_LIST_COMPLETION)) }
      };
    } finally {
      runtime._free(dumpPlace);
      if (objectsPlace) runtime._free(objectsPlace);
    }
  }

  function plural(n, word) { return n + ' ' + word + (n === 1 ? '' : 's'); }

  // The status line: the status and its meaning, the dump's file as the user gave it, and what the
  // messages count.
  function statusText(status, strict, name, counts) {
    var text = 'Status ' + status + ': ' + MEANINGS[status];
    if (status === 2 && strict) text += ' (or warnings, under --strict)';
    if (status === 1 || !counts) return text;
    return text + ' — ' + name + ': ' + plural(counts.errors, 'error') + ', ' + plural(counts.warnings, 'warning') +
      ', ' + plural(counts.commented, 'object') + ' written as comments';
  }

  // The message that says why the conversion is not the dungeon the user meant, for the status,
  // naming the files as the user gave them: the program's own line when nothing was converted, or
  // the error of an object name list that is a dump (the two files swapped, say); null for none.
  function rootCause(result) {
    var lines = result.messages.split('\n');
    if (result.status === 1) {
      var own = lines.filter(function (line) { return /^dungeon2lua: /.test(line); })[0];
      if (!own) return null;
      return own.replace(/^dungeon2lua: (my_dungeon\.txt |obj_list\.txt )?/, function (all, file) {
        return !file ? '' : (file === 'obj_list.txt ' ? files.objects.name : files.dump.name) + ' ';
      });
    }
    var swapped = lines.filter(function (line) { return / \[list-is-dump\]$/.test(line); })[0];
    var parts = swapped && /^[^:]*:([0-9]+)(?::[0-9]+)?: (.*)$/.exec(swapped);
    return parts ? files.objects.name + ' line ' + parts[1] + ': ' + parts[2] : null;
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
    completion = result.completion;
    byId('complete-list-state').textContent = '';
    var name = files.dump.name;
    var cause = rootCause(result);
    showStatus(result.status, cause ? statusText(result.status, strict, name, null) + ' — ' + cause :
      statusText(result.status, strict, name, result.counts));
    byId('status').setAttribute('data-conversions', String(++conversions));
    byId('save').hidden = result.status === 1;
    byId('complete-list').hidden = result.status === 1;
    var clean = result.messages === '' && result.counts && result.counts.commented === 0;
    showMessages(result.messages, clean ? 'No messages: the dump converted without a problem.' :
      result.messages === '' && result.counts ? 'No messages, but ' + plural(result.counts.commented, 'object') +
        ' written as comments: the map lists them.' : '', result.status !== 1);
    if (result.status === 1) {
      clearResult();
      byId('status').setAttribute('data-conversions', String(conversions));
      return;
    }
    var map = byId('map');
    byId('map-section').classList.remove('empty');
    byId('map-state').textContent = 'Drawing the map of ' + name + '…';
    map.onload = function () {
      var loaded = performance.now();
      var timing = byId('timing');
      byId('map-state').textContent = '';
      map.contentWindow.postMessage({ dump: name }, '*');
      timing.setAttribute('data-map-ms', (loaded - converted).toFixed(1));
      timing.textContent += ' The map page was drawn ' + Math.round(loaded - converted) + ' ms after that.';
    };
    if (mapAddress) URL.revokeObjectURL(mapAddress);
    mapAddress = URL.createObjectURL(new Blob([result.mapPage], { type: 'text/html;charset=utf-8' }));
    map.src = mapAddress;
    var shown = performance.now();
    var timing = byId('timing');
    timing.setAttribute('data-convert-ms', (converted - started).toFixed(1));
    timing.setAttribute('data-shown-ms', (shown - started).toFixed(1));
    timing.removeAttribute('data-map-ms');
    // The timing is no news beside a root cause: the dungeon that arrived is not the one meant.
    timing.hidden = !!cause;
    timing.textContent = 'Converted ' + name + ' (' + files.dump.bytes.length + ' bytes) in ' +
      Math.round(converted - started) + ' ms.';
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

  // Offers bytes as a download under the file name given.
  function download(bytes, fileName) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = fileName;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
  }

  // Saves the last conversion's script as LUA_dungeon.lua, the bytes as the converter wrote them.
  function save() {
    if (script) download(script, 'LUA_dungeon.lua');
  }

  // Saves the object name list completed with the pairs the dump needs as obj_list.txt, as
  // --update-list writes it, and says what was added (or why the list is left as it is).
  function completeList() {
    if (!completion) return;
    if (completion.bytes.length > 0) download(completion.bytes, 'obj_list.txt');
    byId('complete-list-state').textContent = completion.line.replace(/\n$/, '');
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
    byId('complete-list').addEventListener('click', completeList);
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
