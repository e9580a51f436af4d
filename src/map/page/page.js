// The map page's script: draws a converted dungeon from the JSON object of the element
// "dungeon-data", which the converter writes with these keys:
//   dump       the dump's file name as the messages give it
//   gw, gh     width and height, in squares, of the common grid that every level is drawn on
//   kinds      the names of the object kinds, in the order the header and the legend list them
//   levels     one per level block of the dump, in order (the index is the level's number):
//     light    its light value
//     ox, oy   the column and row of its top left square on the common grid
//     w, h     its width and height in squares
//     written  false when the script does not build the level (its block breaks a rule)
//     line     the dump line of its WALLSET line
//     rl       the dump line of its first map row (0 when it has none)
//     rows     its map rows as read, one character a square
//   objects    one per object of the items section, in the order of their dump lines; the keys
//              below that name another object hold its index in this list:
//     id       its identifier
//     type     the type word of the dump
//     name     the target engine's object name with its state suffix; absent when obj_list.txt
//              lacks the type
//     kind     one of kinds: the symbol drawn for it
//     lv       its level; -1 for an object inside another one (it has no square)
//     x, y     its square on the common grid
//     pl       its placement word: a facing, a corner or CENTER; absent when it has none
//     why      present when every statement of the object is a Lua comment: the reason
//     ln       the number of its line in the dump
//     src      the text of that line
//     props    the property statements the script holds for it; absent when none
//     tg       its targets, each [name, index of the object of that name, or -1 when none]
//     door     a door button's door, [name, index or -1]
//     holder   the object that holds it, [name, index or -1]
//     dest     a teleporter's destination on the common grid, [level, x, y]
//     holds    the identifiers it names as carried or held
//   champions  the champion variables the definitions assign
//   party      the party's members in slot order
//   entrance   the party's starting place on the common grid, or null: lv, x, y, facing, ln (its
//              dump line) and placed (false when the script does not place the party there)
//   problems   the errors and warnings of the run in the order printed: ln (its line), col (its
//              column, absent when the message is about the whole line), error (false for a
//              warning), name (the message's name), msg (what is wrong), text (the message exactly
//              as the run printed it, its name included), list (true when the line is one of the
//              object name list, not of the dump)
//   summary    the closing count of the messages as the run printed it; empty when there is none
// Every text of the data reaches the page as text (textContent, or the value of an attribute the
// script names), never as markup.
//
// Positions are shown as the dump writes them: a level's column and row on its own map, counted
// from 0; a square of the common grid is that column plus the level's ox, that row plus its oy.
//
// The address may say, after "#" and joined by "&": level=N opens level N; select=ID selects the
// object ID; find=TEXT searches for TEXT and selects the first match. Selecting writes select=ID
// into the address, and a changed address selects again. The page in a frame also takes messages
// from the page around it: {problem: TEXT} picks the problem printed as TEXT, {problems: true}
// shows the problem list, {dump: NAME} names the dump's file in the title.
(function () {
'use strict';
var SVG = 'http://www.w3.org/2000/svg';
var data = JSON.parse(document.getElementById('dungeon-data').textContent);
var objects = data.objects;

// The look of each kind the converter names: glyph, shape and colour. A kind of the data that is
// not here gets UNKNOWN_LOOK.
var LOOKS = {
  'door': ['D', 'square', '#8b5a2b'], 'door frame': ['F', 'frame', '#a0522d'],
  'door button': ['b', 'circle', '#e67e22'], 'lever or switch': ['L', 'circle', '#2e86c1'],
  'trigger': ['T', 'diamond', '#16a085'], 'teleporter': ['@', 'circle', '#8e44ad'],
  'pit': ['O', 'circle', '#111111'], 'shooter': ['S', 'triangle', '#c0392b'],
  'floor damager': ['X', 'diamond', '#d35400'], 'generator': ['G', 'square', '#27ae60'],
  'creature': ['C', 'circle', '#e74c3c'], 'holder': ['H', 'square', '#b7950b'],
  'torch': ['i', 'triangle', '#f39c12'], 'floor text': ['\u00b6', 'square', '#5d6d7e'],
  'flask': ['f', 'circle', '#17a2b8'], 'bomb': ['B', 'diamond', '#34495e'],
  'other': ['\u2022', 'circle', '#7f8c8d'] };
var UNKNOWN_LOOK = ['?', 'circle', '#566573'];
// The kinds of link: the name in the classes of its lines and of its switch "show-NAME", and its
// legend entry.
var LINK_KINDS = [['target', 'target'], ['door', 'door button to its door'],
  ['destination', 'teleporter to its destination']];
var DIRECTIONS = { NORTH: [0, -1], EAST: [1, 0], SOUTH: [0, 1], WEST: [-1, 0], NORTHEAST: [1, -1],
  NORTHWEST: [-1, -1], SOUTHEAST: [1, 1], SOUTHWEST: [-1, 1], '0': [0, -1], '1': [1, 0], '2': [0, 1], '3': [-1, 0] };
var FIXED_COLOURS = { '0': '#ece6d6', '1': '#4a4a57' };
var PALETTE = ['#6c9bd2', '#d9a44e', '#7fb77e', '#c97b84', '#9b8fd1', '#5bb5b0', '#b0a36b', '#d07fc2', '#8aa1b1', '#c4c45a'];
// The most matches the search lists.
var MAX_MATCHES = 12;
// Board units per square: the board is drawn once per level in these units and zoomed by its size.
var U = 20;
// More links than this on a level are drawn faintly while nothing is selected.
var MANY_LINKS = 200;
// The least and most pixels per square, and the factor of one zoom step.
var MIN_CELL = 2, MAX_CELL = 120, ZOOM_STEP = 1.25;
// The pixels of a label's text, whatever the zoom.
var LABEL_PX = 12;

function byId(id) { return document.getElementById(id); }
function element(tag, className, text) {
  var e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}
function shape(tag, attributes) {
  var e = document.createElementNS(SVG, tag);
  for (var name in attributes) e.setAttribute(name, String(attributes[name]));
  return e;
}
function plural(n, word) { return n + ' ' + word + (n === 1 ? '' : 's'); }
function has(map, key) { return Object.prototype.hasOwnProperty.call(map, key); }
function clamp(v, low, high) { return Math.max(low, Math.min(high, v)); }
// The values of the address after "#" (NAME=VALUE, joined by "&"), by name.
function addressValues() {
  var values = Object.create(null);
  location.hash.replace(/^#/, '').split('&').forEach(function (part) {
    if (!part) return;
    var equals = part.indexOf('=');
    var value = equals < 0 ? '' : part.slice(equals + 1);
    try { value = decodeURIComponent(value); } catch (error) { /* kept as written */ }
    values[equals < 0 ? part : part.slice(0, equals)] = value;
  });
  return values;
}

// The kinds in the order of the data, then any other kind an object has.
var kinds = [];
(function () {
  var seen = Object.create(null);
  function add(kind) { if (!(kind in seen)) { seen[kind] = true; kinds.push(kind); } }
  (data.kinds || []).forEach(add);
  objects.forEach(function (o) { add(o.kind); });
})();
function lookOf(kind) {
  var look = has(LOOKS, kind) ? LOOKS[kind] : UNKNOWN_LOOK;
  return { glyph: look[0], shape: look[1], colour: look[2] };
}

// Terrain colours: a fixed colour for "0" and "1", the palette for the other characters in order.
var terrainColour = {};
(function () {
  var seen = {};
  data.levels.forEach(function (level) {
    level.rows.forEach(function (row) { for (var i = 0; i < row.length; i++) seen[row.charAt(i)] = true; });
  });
  seen['0'] = true;
  var others = Object.keys(seen).filter(function (c) { return !(c in FIXED_COLOURS); }).sort();
  Object.keys(FIXED_COLOURS).forEach(function (c) { if (seen[c]) terrainColour[c] = FIXED_COLOURS[c]; });
  others.forEach(function (c, i) {
    terrainColour[c] = i < PALETTE.length ? PALETTE[i] : 'hsl(' + ((i * 47) % 360) + ',45%,60%)';
  });
})();

// Indexes: objects per level, per dump line, held objects per holder, links that arrive from
// other objects, teleporters per level of their destination.
var onLevel = data.levels.map(function () { return []; });
var arrivingOn = data.levels.map(function () { return []; });
var byLine = {};
var heldBy = {};
var incoming = {};
objects.forEach(function (o, i) {
  if (o.lv >= 0 && o.lv < onLevel.length) onLevel[o.lv].push(i);
  (byLine[o.ln] = byLine[o.ln] || []).push(i);
  if (o.holder && o.holder[1] >= 0) (heldBy[o.holder[1]] = heldBy[o.holder[1]] || []).push(i);
  var arrive = function (reference, how) {
    if (reference[1] < 0) return;
    (incoming[reference[1]] = incoming[reference[1]] || []).push({ from: i, how: how });
  };
  (o.tg || []).forEach(function (t) { arrive(t, 'target'); });
  if (o.door) arrive(o.door, 'door');
  if (o.dest && o.dest[0] >= 0 && o.dest[0] < arrivingOn.length && o.dest[0] !== o.lv) arrivingOn[o.dest[0]].push(i);
});
// The object with a square that holds a held object, directly or through other holders.
function rootHolder(i) {
  for (var steps = 0; steps < 64 && objects[i].lv < 0; steps++) {
    var h = objects[i].holder;
    if (!h || h[1] < 0) return -1;
    i = h[1];
  }
  return objects[i].lv >= 0 ? i : -1;
}
// The held objects listed under each level: under the level of their outermost holder, those held
// by no object under level 0.
var heldOn = data.levels.map(function () { return []; });
objects.forEach(function (o, i) {
  if (o.lv >= 0 || !heldOn.length) return;
  var root = rootHolder(i);
  var n = root >= 0 ? objects[root].lv : 0;
  if (n < heldOn.length) heldOn[n].push(i);
});

var grid = { w: Math.max(1, data.gw), h: Math.max(1, data.gh) };
// level: the shown level; cell: pixels per square; selected: the selected object or -1; square:
// the selected square [x, y] on the common grid or null; hover: the square "x,y" under the
// pointer; hidden: link kinds switched off; hiddenKinds: object kinds switched off; problem: the
// chosen problem's index or -1.
var state = { level: 0, cell: 12, selected: -1, square: null, hover: null, hidden: {}, hiddenKinds: {},
  neighbours: false, problem: -1 };
// What drawLevel drew, so that a selection, a switch or a zoom changes only what it concerns.
var view = null;

// ---- positions as the dump writes them ----
function levelOf(n) { return n >= 0 && n < data.levels.length ? data.levels[n] : null; }
// The column and row on level n's own map of a square of the common grid.
function dumpSquare(n, x, y) {
  var level = levelOf(n);
  return level ? [x - level.ox, y - level.oy] : [x, y];
}
// 'level N, column C, row R', and the common grid's square where it is another one.
function placeText(n, x, y) {
  var d = dumpSquare(n, x, y);
  var text = 'level ' + n + ', column ' + d[0] + ', row ' + d[1];
  return d[0] === x && d[1] === y ? text : text + ' (grid ' + x + ', ' + y + ')';
}
// True when the square of the common grid lies on level n's own map.
function onOwnMap(n, x, y) {
  var l = levelOf(n);
  return !!l && x >= l.ox && y >= l.oy && x < l.ox + l.w && y < l.oy + l.h;
}
// The level and map row (counted from 0) of a dump line that is a map row, or null.
function rowOfLine(line) {
  for (var n = 0; n < data.levels.length; n++) {
    var l = data.levels[n];
    if (l.rl > 0 && line >= l.rl && line < l.rl + l.rows.length) return { level: n, row: line - l.rl };
  }
  return null;
}
// The level whose block holds a dump line of the layout section, or -1.
function levelOfLine(line) {
  for (var n = data.levels.length - 1; n >= 0; n--) {
    var l = data.levels[n];
    if (!l.line || line < l.line) continue;
    var end = n + 1 < data.levels.length && data.levels[n + 1].line ? data.levels[n + 1].line :
      (l.rl ? l.rl + l.rows.length : l.line + 6) + 1;
    return line < end ? n : -1;
  }
  return -1;
}

// ---- header ----
var counts = { errors: 0, warnings: 0, commented: 0 };
function buildSummary() {
  var summary = byId('summary');
  setTitle(data.dump);
  function list(title, lines) {
    var dl = element('dl');
    dl.appendChild(element('dt', null, title));
    lines.forEach(function (line) {
      var dd = element('dd');
      if (typeof line === 'string') dd.textContent = line; else dd.appendChild(line);
      dl.appendChild(dd);
    });
    summary.appendChild(dl);
  }
  var levelLines = data.levels.map(function (l, n) {
    return 'level ' + n + ': ' + l.w + ' \u00d7 ' + l.h + ', light ' + l.light +
      (l.ox || l.oy ? ', its column 0, row 0 at grid ' + l.ox + ', ' + l.oy : '') +
      (l.written ? '' : ' (not built: its block breaks a rule)');
  });
  levelLines.unshift('common grid ' + grid.w + ' \u00d7 ' + grid.h);
  list(plural(data.levels.length, 'level'), levelLines);
  var byKind = Object.create(null);
  var held = 0;
  objects.forEach(function (o) {
    byKind[o.kind] = (byKind[o.kind] || 0) + 1;
    if (o.why !== undefined) counts.commented++;
    if (o.lv < 0) held++;
  });
  var kindLines = [kinds.filter(function (k) { return byKind[k]; })
    .map(function (k) { return k + ' ' + byKind[k]; }).join(', ')];
  kindLines.push('written as comments: ' + counts.commented);
  kindLines.push('inside other objects: ' + held);
  list(plural(objects.length, 'object'), kindLines);
  var party = [];
  party.push('champions: ' + (data.champions.length ? data.champions.join(', ') : 'none'));
  party.push('party: ' + (data.party.length ? data.party.join(', ') : 'none'));
  var e = data.entrance;
  party.push(e ? 'starts on ' + placeText(e.lv, e.x, e.y) + ', facing ' + e.facing +
    (e.placed ? '' : ' (not placed: see the problems)') : 'no entrance: the party is not placed');
  list('Champions and party', party);
  counts.errors = data.problems.filter(function (p) { return p.error; }).length;
  counts.warnings = data.problems.length - counts.errors;
  var link = byId('problem-counts');
  link.textContent = countText();
  link.addEventListener('click', showProblems);
}
function countText() {
  return plural(counts.errors, 'error') + ', ' + plural(counts.warnings, 'warning') + ', ' +
    plural(counts.commented, 'object') + ' written as comments';
}
function setTitle(name) {
  byId('title').textContent = 'Map of ' + name;
  document.title = 'Map of ' + name;
}

// ---- level tabs ----
function buildTabs() {
  var tabs = byId('level-tabs');
  data.levels.forEach(function (level, n) {
    var b = element('button', level.written ? '' : 'unbuilt', 'Level ' + n + ' (' + plural(onLevel[n].length, 'object') + ')');
    b.type = 'button';
    b.setAttribute('role', 'tab');
    b.setAttribute('aria-selected', 'false');
    b.setAttribute('aria-controls', 'board-wrap');
    b.setAttribute('data-level', n);
    b.addEventListener('click', function () { showLevel(n); });
    tabs.appendChild(b);
  });
  tabs.addEventListener('keydown', function (event) {
    var step = event.key === 'ArrowRight' ? 1 : event.key === 'ArrowLeft' ? -1 : 0;
    if (!step) return;
    event.preventDefault();
    showLevel(clamp(state.level + step, 0, data.levels.length - 1));
    tabs.children[state.level].focus();
  });
}

// ---- legend ----
function legendSymbol(kind, commented) {
  var s = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  var g = symbolShape(kind, 8, commented);
  g.setAttribute('class', commented ? 'legend-sym commented' : 'legend-sym');
  s.appendChild(g);
  return s;
}
function buildLegend() {
  var legend = byId('legend');
  function row(graphic, text) {
    var r = element('div', 'row');
    r.appendChild(graphic);
    r.appendChild(element('span', null, text));
    legend.appendChild(r);
    return r;
  }
  function small(width, height) { return shape('svg', { width: width, height: height, 'aria-hidden': 'true' }); }
  legend.appendChild(element('h3', null, 'Squares'));
  Object.keys(terrainColour).forEach(function (c) {
    var s = small(22, 16);
    s.appendChild(shape('rect', { x: 1, y: 1, width: 20, height: 14, fill: terrainColour[c], stroke: '#555' }));
    row(s, '"' + c + '"' + (c === '0' ? ' (also the fill outside every level\u2019s map)' : ''));
  });
  var outline = small(22, 16);
  outline.appendChild(shape('rect', { x: 2, y: 2, width: 18, height: 12, 'class': 'outline' }));
  row(outline, 'the level\u2019s own map (outside it: dimmed); the numbers around it are its columns and rows');
  var rowMark = small(22, 16);
  rowMark.appendChild(shape('rect', { x: 1, y: 4, width: 20, height: 8, 'class': 'problem-row' }));
  row(rowMark, 'the map row of the chosen problem: "map row N" in a message is row N \u2212 1 here, as the ' +
    'messages count rows from 1 and the map from 0');
  legend.appendChild(element('h3', null, 'Objects (untick to hide a kind)'));
  kinds.forEach(function (k) {
    var r = element('div', 'row');
    r.setAttribute('data-kind', k);
    var label = element('label');
    var box = element('input');
    box.type = 'checkbox';
    box.checked = !state.hiddenKinds[k];
    box.addEventListener('change', function () { showKind(k, box.checked); });
    label.appendChild(box);
    label.appendChild(legendSymbol(k, false));
    label.appendChild(document.createTextNode(k));
    r.appendChild(label);
    legend.appendChild(r);
  });
  row(legendSymbol('other', true), 'written as a comment (hollow, grey)');
  var off = legendSymbol('other', false);
  off.firstChild.setAttribute('class', 'legend-sym off-map');
  row(off, 'off its level\u2019s map (red dashes; beyond the board it stands at the edge)');
  var tick = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  tick.appendChild(symbolShape('other', 6, false));
  tick.appendChild(shape('line', { x1: 0, y1: -6, x2: 0, y2: -10, stroke: '#000', 'stroke-width': 2 }));
  row(tick, 'tick: its facing or corner');
  legend.appendChild(element('h3', null, 'Links'));
  LINK_KINDS.forEach(function (l) {
    var s = small(22, 12);
    s.appendChild(shape('line', { x1: 1, y1: 6, x2: 17, y2: 6, 'class': 'link link-' + l[0] }));
    if (l[0] !== 'destination') s.appendChild(shape('polygon', { points: '16,2 22,6 16,10', 'class': 'arrow-head link-' + l[0] }));
    row(s, l[1]);
  });
  var ring = small(22, 22);
  ring.appendChild(shape('circle', { cx: 11, cy: 11, r: 9, 'class': 'destination-mark' }));
  row(ring, 'a teleporter\u2019s destination square');
  var badge = small(22, 16);
  badge.appendChild(shape('rect', { x: 1, y: 1, width: 14, height: 14, fill: '#ece6d6', stroke: '#555' }));
  badge.appendChild(shape('polygon', { points: '15,1 11,1 15,5', 'class': 'link-badge' }));
  row(badge, 'the square has links to or from other levels: hover over or select it for its label');
  row(element('span', 'link-sample', '\u2192 level 1 \u00b7 \u2190 level 2'),
    'the label: the levels its links go to (\u2192) and come from (\u2190)');
  var picked = small(22, 16);
  picked.appendChild(shape('line', { x1: 1, y1: 4, x2: 21, y2: 4, 'class': 'link link-target mine' }));
  picked.appendChild(shape('line', { x1: 1, y1: 12, x2: 21, y2: 12, 'class': 'link link-target', opacity: 0.12 }));
  row(picked, 'a selected object\u2019s own links stand out, the others are dimmed; on a level with more than ' +
    MANY_LINKS + ' links they are faint until something is selected');
  var near = small(22, 22);
  near.appendChild(shape('circle', { cx: 7, cy: 11, r: 5, fill: 'none', stroke: '#666', 'stroke-dasharray': '3 2' }));
  near.appendChild(shape('circle', { cx: 16, cy: 11, r: 5, fill: 'none', stroke: '#111', 'stroke-dasharray': '1 2' }));
  row(near, 'with \u201clevels above and below\u201d: the objects of the level above (dashes) and below (dots)');
  var p = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  p.appendChild(partyShape(9, 'NORTH', true));
  row(p, 'the party\u2019s starting place and facing');
  var selection = small(22, 16);
  selection.appendChild(shape('rect', { x: 2, y: 2, width: 14, height: 12, 'class': 'selection' }));
  row(selection, 'the selected square');
}

// ---- symbols ----
function symbolShape(kind, r, commented) {
  var k = lookOf(kind);
  var g = shape('g', {});
  var body;
  if (k.shape === 'square' || k.shape === 'frame')
    body = shape('rect', { x: -r, y: -r, width: 2 * r, height: 2 * r });
  else if (k.shape === 'diamond')
    body = shape('polygon', { points: [0, -r, r, 0, 0, r, -r, 0].join(' ') });
  else if (k.shape === 'triangle')
    body = shape('polygon', { points: [0, -r, r, 0.8 * r, -r, 0.8 * r].join(' ') });
  else
    body = shape('circle', { r: r });
  body.setAttribute('class', 'shape');
  if (!commented) {
    body.setAttribute('fill', k.shape === 'frame' ? '#f6e3cf' : k.colour);
    if (k.shape === 'frame') { body.setAttribute('stroke', k.colour); body.setAttribute('style', 'stroke-width:' + Math.max(1.5, r / 3)); }
  }
  g.appendChild(body);
  if (r >= 6) {
    var t = shape('text', { 'text-anchor': 'middle', 'dominant-baseline': 'central', 'font-size': (1.15 * r).toFixed(1),
      fill: k.shape === 'frame' ? '#5a2d0c' : '#fff', y: k.shape === 'triangle' ? (0.15 * r).toFixed(1) : 0 });
    t.textContent = k.glyph;
    g.appendChild(t);
  }
  return g;
}
function directionTick(word, r) {
  var d = has(DIRECTIONS, word) ? DIRECTIONS[word] : null;
  if (!d) return null;
  var length = Math.sqrt(d[0] * d[0] + d[1] * d[1]);
  var ux = d[0] / length, uy = d[1] / length;
  return shape('line', { x1: (ux * r).toFixed(1), y1: (uy * r).toFixed(1), x2: (ux * r * 1.6).toFixed(1),
    y2: (uy * r * 1.6).toFixed(1), stroke: '#000', 'stroke-width': Math.max(1, r / 4).toFixed(1) });
}
function partyShape(half, facing, placed) {
  var g = shape('g', { 'class': 'party' + (placed ? '' : ' unplaced') });
  g.appendChild(shape('rect', { x: -half, y: -half, width: 2 * half, height: 2 * half, 'class': 'frame' }));
  var d = has(DIRECTIONS, facing) ? DIRECTIONS[facing] : null;
  if (d && Math.abs(d[0]) + Math.abs(d[1]) === 1) {
    var angle = d[0] === 1 ? 90 : d[0] === -1 ? 270 : d[1] === 1 ? 180 : 0;
    var a = half * 0.55;
    var arrow = shape('polygon', { points: [0, -half - a, a, -half + a * 0.3, -a, -half + a * 0.3].join(' '),
      'class': 'arrow', transform: 'rotate(' + angle + ')' });
    g.appendChild(arrow);
  }
  return g;
}

// ---- drawing a level ----
function charAt(level, x, y) {
  var row = level.rows[y - level.oy];
  if (row === undefined || x < level.ox) return '0';
  var c = row.charAt(x - level.ox);
  return c === '' ? '0' : c;
}
// Paints the level's squares on the canvas, a few pixels a square; the canvas is zoomed by its size.
function drawTerrain(level) {
  var cs = clamp(Math.floor(2048 / Math.max(grid.w, grid.h)), 1, 16);
  var canvas = byId('terrain');
  canvas.width = grid.w * cs;
  canvas.height = grid.h * cs;
  var ctx = canvas.getContext('2d');
  for (var y = 0; y < grid.h; y++) {
    var x = 0;
    while (x < grid.w) {
      var c = charAt(level, x, y);
      var end = x + 1;
      while (end < grid.w && charAt(level, end, y) === c) end++;
      ctx.fillStyle = terrainColour[c] || '#ff00ff';
      ctx.fillRect(x * cs, y * cs, (end - x) * cs, cs);
      x = end;
    }
  }
  // Outside the level's own map: dimmed.
  ctx.fillStyle = 'rgba(30,30,40,0.42)';
  var left = clamp(level.ox, 0, grid.w), top = clamp(level.oy, 0, grid.h);
  var right = clamp(level.ox + level.w, left, grid.w), bottom = clamp(level.oy + level.h, top, grid.h);
  ctx.fillRect(0, 0, grid.w * cs, top * cs);
  ctx.fillRect(0, bottom * cs, grid.w * cs, (grid.h - bottom) * cs);
  ctx.fillRect(0, top * cs, left * cs, (bottom - top) * cs);
  ctx.fillRect(right * cs, top * cs, (grid.w - right) * cs, (bottom - top) * cs);
  if (cs >= 8) {
    ctx.fillStyle = 'rgba(0,0,0,0.13)';
    for (var gx = 0; gx < grid.w; gx++) ctx.fillRect(gx * cs, 0, 1, grid.h * cs);
    for (var gy = 0; gy < grid.h; gy++) ctx.fillRect(0, gy * cs, grid.w * cs, 1);
  }
}

// Draws the shown level whole, in board units: symbols, the party, links, the marks of links to
// other levels. A selection, a switch or a zoom changes only its own parts of it afterwards.
function drawLevel() {
  var n = state.level;
  var level = data.levels[n];
  var cs = U;
  drawTerrain(level);
  var overlay = byId('overlay');
  while (overlay.firstChild) overlay.removeChild(overlay.firstChild);
  // Four drawings stacked, so that what a selection or a hover changes is painted again alone: the
  // links, the selected object's own links, the symbols, and the marks, labels and selection.
  var layers = ['links-layer', 'own-layer', 'symbols-layer', 'top-layer'].map(function (name) {
    var layer = shape('svg', { 'class': 'layer ' + name, viewBox: [-U, -U, (grid.w + 2) * U, (grid.h + 2) * U].join(' ') });
    overlay.appendChild(layer);
    return layer;
  });
  var svg = layers[0];
  view = {
    // Per object of the level: its symbol's centre, radius, element and the side of its share of
    // the square.
    positions: [], radius: [], symbols: [], sub: [],
    // Per object: the lines and destination marks of its own links.
    marks: [],
    // Per square "x,y": the objects on it, its links to and from other levels and its corner mark.
    squares: Object.create(null), crossing: Object.create(null), badges: Object.create(null),
    linkCount: 0,
    // The layers, bottom to top.
    neighbours: shape('g', { id: 'neighbours' }), problemRow: shape('g', { id: 'problem-row' }),
    links: shape('g', { id: 'links' }), ownLinks: shape('g', { id: 'own-links' }), leaders: shape('g', { id: 'leaders' }),
    symbolLayer: shape('g', { id: 'symbols' }), badgeLayer: shape('g', { id: 'badges' }),
    rulers: shape('g', { id: 'rulers' }), labels: shape('g', { id: 'labels' }),
    selection: shape('rect', { width: cs, height: cs, 'class': 'selection' }),
    ring: shape('circle', { 'class': 'chosen-ring', display: 'none' }),
    linksLayer: layers[0]
  };
  // Each symbol a copy of the first one drawn of its look and size.
  var looks = Object.create(null);
  function symbolFor(o, r) {
    var commented = o.why !== undefined;
    var key = o.kind + '|' + commented + '|' + r + '|' + (o.pl || '');
    if (!(key in looks)) {
      var g = symbolShape(o.kind, r, commented);
      g.setAttribute('class', 'sym' + (commented ? ' commented' : ''));
      g.setAttribute('data-kind', o.kind);
      var tick = o.pl ? directionTick(o.pl, r) : null;
      if (tick) g.appendChild(tick);
      looks[key] = g;
    }
    return looks[key].cloneNode(true);
  }

  // Objects of one square share it in a small grid of their own, so that each stays reachable.
  // An object beyond the board stands at its edge.
  var squares = view.squares;
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    var key = clamp(o.x, 0, grid.w - 1) + ',' + clamp(o.y, 0, grid.h - 1);
    (squares[key] = squares[key] || []).push(i);
  });
  Object.keys(squares).forEach(function (key) {
    var list = squares[key];
    var k = Math.ceil(Math.sqrt(list.length));
    var sub = cs / k;
    var at = key.split(',');
    list.forEach(function (i, j) {
      var o = objects[i];
      var cx = Number(at[0]) * cs + (j % k + 0.5) * sub, cy = Number(at[1]) * cs + (Math.floor(j / k) + 0.5) * sub;
      var r = sub * 0.36;
      view.positions[i] = [cx, cy];
      view.radius[i] = r;
      view.sub[i] = sub;
      var g = symbolFor(o, Math.round(r * 100) / 100);
      if (!onOwnMap(n, o.x, o.y)) g.classList.add('off-map');
      g.setAttribute('data-object', i);
      g.setAttribute('transform', 'translate(' + cx.toFixed(2) + ',' + cy.toFixed(2) + ')');
      if (state.hiddenKinds[o.kind]) g.setAttribute('display', 'none');
      view.symbolLayer.appendChild(g);
      view.symbols[i] = g;
    });
  });

  drawLinks(n);
  LINK_KINDS.forEach(function (l) { overlay.classList.toggle('hide-' + l[0], !!state.hidden[l[0]]); });
  drawBadges();
  drawNeighbours();
  svg.appendChild(view.neighbours);
  svg.appendChild(shape('rect', { x: level.ox * cs, y: level.oy * cs, width: level.w * cs, height: level.h * cs, 'class': 'outline' }));
  svg.appendChild(view.problemRow);
  svg.appendChild(view.links);
  layers[1].appendChild(view.ownLinks);
  layers[1].appendChild(view.leaders);
  svg = layers[2];
  svg.appendChild(view.symbolLayer);
  if (data.entrance && data.entrance.lv === n) {
    var e = data.entrance;
    var party = partyShape(cs / 2 - 1, e.facing, e.placed);
    party.setAttribute('id', 'party-marker');
    party.setAttribute('transform', 'translate(' + ((clamp(e.x, 0, grid.w - 1) + 0.5) * cs) + ',' +
      ((clamp(e.y, 0, grid.h - 1) + 0.5) * cs) + ')');
    svg.appendChild(party);
  }
  svg = layers[3];
  svg.appendChild(view.badgeLayer);
  svg.appendChild(view.rulers);
  svg.appendChild(view.selection);
  svg.appendChild(view.ring);
  svg.appendChild(view.labels);
  markSelection(state.selected, true);
  dimOthers();
  placeSelection();
  markProblemRow();
  applyScale();
  byId('level-info').textContent = 'Level ' + n + ': ' + plural(onLevel[n].length, 'object') + ', ' +
    plural(view.linkCount, 'link') + (level.written ? '' : ' (the script does not build this level)') + '.';
}

// Draws the links between objects of the shown level as arrows from the edge of one symbol to the
// edge of the other, beneath the symbols, and gathers per square the links to and from other
// levels (and the names that reach no object) for its label.
function drawLinks(n) {
  var cs = U;
  var positions = view.positions;
  function mark(i, e) { if (i >= 0) (view.marks[i] = view.marks[i] || []).push(e); }
  function crossing(x, y, entry) {
    var key = clamp(x, 0, grid.w - 1) + ',' + clamp(y, 0, grid.h - 1);
    var c = view.crossing[key] = view.crossing[key] || { x: clamp(x, 0, grid.w - 1), y: clamp(y, 0, grid.h - 1), entries: [] };
    c.entries.push(entry);
  }
  // A line from symbol i to the point 'to', ending 'toRadius' before it; an arrow head of the
  // given length there, which stays inside the target's share of its square.
  function line(i, to, toRadius, how, j, head) {
    var from = positions[i];
    var dx = to[0] - from[0], dy = to[1] - from[1];
    var length = Math.sqrt(dx * dx + dy * dy) || 1;
    var ux = dx / length, uy = dy / length;
    var fromRadius = i === j ? 0 : view.radius[i];
    if (length <= fromRadius + toRadius) return;
    var x1 = from[0] + ux * fromRadius, y1 = from[1] + uy * fromRadius;
    var x2 = to[0] - ux * toRadius, y2 = to[1] - uy * toRadius;
    var e = shape('line', { x1: x1.toFixed(2), y1: y1.toFixed(2), x2: x2.toFixed(2), y2: y2.toFixed(2),
      'class': 'link link-' + how, 'data-from': i });
    if (j >= 0) e.setAttribute('data-to', j);
    view.links.appendChild(e);
    view.linkCount++;
    mark(i, e);
    if (j !== i) mark(j, e);
    if (!head) return;
    var bx = x2 - ux * head, by = y2 - uy * head, w = head * 0.55;
    var tip = shape('polygon', { points: [x2, y2, bx - uy * w, by + ux * w, bx + uy * w, by - ux * w]
      .map(function (v) { return v.toFixed(2); }).join(' '), 'class': 'arrow-head link-' + how, 'data-head': i });
    view.links.appendChild(tip);
    mark(i, tip);
    if (j !== i) mark(j, tip);
  }
  function destinationMark(t, x, y) {
    var e = shape('circle', { cx: (x + 0.5) * cs, cy: (y + 0.5) * cs, r: cs * 0.52, 'class': 'destination-mark', 'data-from': t });
    view.links.appendChild(e);
    mark(t, e);
    return [(x + 0.5) * cs, (y + 0.5) * cs];
  }
  function reference(i, ref, how) {
    var o = objects[i], t = ref[1];
    if (t >= 0 && objects[t].lv === n && positions[t])
      line(i, positions[t], view.radius[t], how, t, view.sub[t] * 0.13);
    else crossing(o.x, o.y, { how: how, out: true, level: t >= 0 ? objects[t].lv : null, obj: i, other: t, name: ref[0] });
  }
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    (o.tg || []).forEach(function (t) { reference(i, t, 'target'); });
    if (o.door) reference(i, o.door, 'door');
    if (o.dest) {
      if (o.dest[0] === n) line(i, destinationMark(i, o.dest[1], o.dest[2]), cs * 0.52, 'destination', -1, 0);
      else crossing(o.x, o.y, { how: 'destination', out: true, level: o.dest[0], obj: i, other: -1 });
    }
    (incoming[i] || []).forEach(function (arrival) {
      var from = objects[arrival.from];
      if (from.lv !== n) crossing(o.x, o.y, { how: arrival.how, out: false, level: from.lv, obj: i, other: arrival.from });
    });
  });
  // Teleporters of other levels (or inside objects) that send things here.
  arrivingOn[n].forEach(function (t) {
    var o = objects[t];
    destinationMark(t, o.dest[1], o.dest[2]);
    crossing(o.dest[1], o.dest[2], { how: 'destination', out: false, level: o.lv, obj: -1, other: t });
  });
}

// The label text of a square's links to and from other levels, of the kinds shown; '' for none.
function crossingText(entries) {
  var out = [], into = [], outSeen = {}, intoSeen = {}, missing = false, held = false;
  entries.forEach(function (e) {
    if (state.hidden[e.how]) return;
    if (e.level === null) missing = true;
    else if (e.level < 0) held = true;
    else if (e.out && !outSeen[e.level]) { outSeen[e.level] = true; out.push(e.level); }
    else if (!e.out && !intoSeen[e.level]) { intoSeen[e.level] = true; into.push(e.level); }
  });
  function levels(list) {
    list.sort(function (a, b) { return a - b; });
    return (list.length === 1 ? 'level ' : 'levels ') + list.join(', ');
  }
  var parts = [];
  if (out.length) parts.push('\u2192 ' + levels(out));
  if (into.length) parts.push('\u2190 ' + levels(into));
  if (held) parts.push('\u2194 inside an object');
  if (missing) parts.push('\u2192 no such object');
  return parts.join(' \u00b7 ');
}

// A small mark in the top right corner of each square with links to or from other levels, inside
// the corner's share of the square that no symbol covers; its title lists them.
function drawBadges() {
  var layer = view.badgeLayer;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  view.badges = Object.create(null);
  Object.keys(view.crossing).forEach(function (key) {
    var c = view.crossing[key];
    var text = crossingText(c.entries);
    if (!text) return;
    var here = view.squares[key];
    var s = U / (here ? Math.ceil(Math.sqrt(here.length)) : 1) * 0.13;
    var left = c.x * U, top = c.y * U;
    var e = shape('polygon', { points: [left + U, top, left + U - s, top, left + U, top + s].join(' '), 'class': 'link-badge' });
    e.setAttribute('data-square', key);
    var title = shape('title', {});
    title.textContent = text;
    e.appendChild(title);
    layer.appendChild(e);
    view.badges[key] = e;
  });
}

// The labels of the selected and the hovered square's links to other levels, each beside its
// square where it covers no symbol and stays on the board; where no such place is found, none
// (the square's details list the links).
function drawLabels() {
  var layer = view.labels;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  while (view.leaders.firstChild) view.leaders.removeChild(view.leaders.firstChild);
  var keys = [];
  if (state.square) keys.push(state.square[0] + ',' + state.square[1]);
  if (state.hover && keys.indexOf(state.hover) < 0) keys.push(state.hover);
  var scale = U / state.cell;
  var size = LABEL_PX * scale, lineHeight = size * 1.3;
  var taken = [];
  keys.forEach(function (key, k) {
    var c = view.crossing[key];
    var text = c && crossingText(c.entries);
    if (!text) return;
    var w = text.length * size * 0.62 + 4 * scale;
    var left = c.x * U, top = c.y * U;
    // Beside the square first, then farther off, the nearest places first.
    var places = [];
    var midY = top + U / 2 - lineHeight / 2, midX = left + U / 2 - w / 2;
    places.push([left + U + scale, midY], [left - scale - w, midY], [midX, top - lineHeight - scale], [midX, top + U + scale]);
    var far = [];
    for (var dx = -12; dx <= 12; dx += 0.5) {
      for (var dy = -12; dy <= 12; dy += 0.5) far.push([midX + dx * U, midY + dy * U, dx * dx + dy * dy]);
    }
    far.sort(function (a, b) { return a[2] - b[2]; });
    places = places.concat(far);
    for (var p = 0; p < places.length; p++) {
      var box = [places[p][0], places[p][1], places[p][0] + w, places[p][1] + lineHeight];
      if (!labelFits(box, taken)) continue;
      taken.push(box);
      if (p >= 4) view.leaders.appendChild(shape('line', { x1: left + U / 2, y1: top + U / 2, x2: (box[0] + box[2]) / 2,
        y2: (box[1] + box[3]) / 2, 'class': 'leader' }));
      var e = shape('text', { x: (box[0] + 2 * scale).toFixed(2), y: (box[1] + size).toFixed(2),
        'class': 'link-label' + (k === 0 && state.square ? ' mine' : ''), 'font-size': size.toFixed(2) });
      e.setAttribute('data-square', key);
      e.textContent = text;
      layer.appendChild(e);
      return;
    }
  });
}
// True when a label's box lies on the board, clear of every symbol and of the labels placed.
function labelFits(box, taken) {
  if (box[0] < -U || box[1] < -U || box[2] > (grid.w + 1) * U || box[3] > (grid.h + 1) * U) return false;
  for (var t = 0; t < taken.length; t++) {
    var b = taken[t];
    if (box[0] < b[2] && b[0] < box[2] && box[1] < b[3] && b[1] < box[3]) return false;
  }
  for (var x = Math.floor(box[0] / U); x <= Math.floor(box[2] / U); x++) {
    for (var y = Math.floor(box[1] / U); y <= Math.floor(box[3] / U); y++) {
      var here = view.squares[x + ',' + y];
      if (!here) continue;
      for (var j = 0; j < here.length; j++) {
        var i = here[j], pos = view.positions[i], r = view.radius[i];
        if (state.hiddenKinds[objects[i].kind]) continue;
        if (box[0] < pos[0] + r && pos[0] - r < box[2] && box[1] < pos[1] + r && pos[1] - r < box[3]) return false;
      }
    }
  }
  return true;
}

// The column numbers above and the row numbers left of the level's own map, in the margin of the
// board, as many as the zoom leaves room for.
function drawRulers() {
  var layer = view.rulers;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  var level = data.levels[state.level];
  var scale = U / state.cell;
  var steps = [1, 2, 5, 10, 20, 50, 100];
  var step = steps.filter(function (s) { return s * state.cell >= 28; })[0] || 200;
  var size = Math.min(U * 0.6, 11 * scale);
  function number(value, x, y, anchor) {
    var t = shape('text', { x: x.toFixed(2), y: y.toFixed(2), 'font-size': size.toFixed(2), 'text-anchor': anchor,
      'class': 'ruler' });
    t.textContent = String(value);
    layer.appendChild(t);
  }
  var top = clamp(level.oy, 0, grid.h) * U, left = clamp(level.ox, 0, grid.w) * U;
  for (var c = 0; c < level.w; c += step) {
    var gx = level.ox + c;
    if (gx >= 0 && gx < grid.w) number(c, (gx + 0.5) * U, top - U * 0.25, 'middle');
  }
  for (var r = 0; r < level.h; r += step) {
    var gy = level.oy + r;
    if (gy >= 0 && gy < grid.h) number(r, left - U * 0.15, (gy + 0.5) * U + size * 0.35, 'end');
  }
}

// The objects of the levels above and below, faintly, when that switch is on.
function drawNeighbours() {
  var layer = view.neighbours;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  if (!state.neighbours) return;
  [[state.level - 1, 'above', 0.3], [state.level + 1, 'below', 0.2]].forEach(function (side) {
    if (side[0] < 0 || side[0] >= data.levels.length) return;
    var seen = Object.create(null);
    onLevel[side[0]].forEach(function (i) {
      var o = objects[i];
      var key = o.x + ',' + o.y;
      if (seen[key] || o.x < 0 || o.y < 0 || o.x >= grid.w || o.y >= grid.h) return;
      seen[key] = true;
      layer.appendChild(shape('circle', { cx: (o.x + 0.5) * U, cy: (o.y + 0.5) * U, r: U * side[2], 'class': side[1] }));
    });
  });
}

// Sizes the board for the zoom: the drawing is scaled, the labels and rulers drawn again for it.
function applyScale() {
  var cell = state.cell;
  pad = [Math.round(wrap().clientWidth / 2), Math.round(wrap().clientHeight / 2)];
  Array.prototype.forEach.call(byId('overlay').children, function (svg) {
    svg.setAttribute('width', ((grid.w + 2) * cell).toFixed(1));
    svg.setAttribute('height', ((grid.h + 2) * cell).toFixed(1));
    svg.style.left = pad[0] + 'px';
    svg.style.top = pad[1] + 'px';
  });
  var canvas = byId('terrain');
  canvas.style.width = (grid.w * cell).toFixed(1) + 'px';
  canvas.style.height = (grid.h * cell).toFixed(1) + 'px';
  canvas.style.left = (pad[0] + cell).toFixed(1) + 'px';
  canvas.style.top = (pad[1] + cell).toFixed(1) + 'px';
  var board = byId('board');
  board.style.width = ((grid.w + 2) * cell + 2 * pad[0]).toFixed(1) + 'px';
  board.style.height = ((grid.h + 2) * cell + 2 * pad[1]).toFixed(1) + 'px';
  drawRulers();
  drawLabels();
}

// Dims the links under the copies of the selected object's own, when it is on the shown level;
// with many links, they are faint until something is selected.
function dimOthers() {
  var picked = state.selected >= 0 && !!view.symbols[state.selected];
  [view.links, view.linksLayer].forEach(function (e) {
    e.classList.toggle('picked', picked);
    e.classList.toggle('many', !picked && view.linkCount > MANY_LINKS);
  });
  view.badgeLayer.classList.toggle('picked', picked);
}
// Marks the elements as the selected object's own (on) and puts copies of them into the layer,
// or takes the marks and the copies away (off). The copies name no object or square.
function markOwn(elements, layer, on) {
  if (!on) while (layer.firstChild) layer.removeChild(layer.firstChild);
  (elements || []).forEach(function (e) {
    e.classList.toggle('mine', on);
    if (!on) return;
    var copy = e.cloneNode(true);
    ['data-from', 'data-to', 'data-head'].forEach(function (name) { copy.removeAttribute(name); });
    layer.appendChild(copy);
  });
}
// Picks out the symbol and the own links of object i (on), or puts them back (off).
function markSelection(i, on) {
  if (i < 0) return;
  if (view.symbols[i]) view.symbols[i].classList.toggle('chosen', on);
  markOwn(view.marks[i], view.ownLinks, on);
  var ring = view.ring;
  if (!on || !view.positions[i]) { ring.setAttribute('display', 'none'); return; }
  ring.removeAttribute('display');
  ring.setAttribute('cx', view.positions[i][0].toFixed(2));
  ring.setAttribute('cy', view.positions[i][1].toFixed(2));
  ring.setAttribute('r', (view.radius[i] + view.sub[i] * 0.07).toFixed(2));
}
function placeSelection() {
  var r = view.selection;
  if (!state.square) { r.setAttribute('display', 'none'); return; }
  r.removeAttribute('display');
  r.setAttribute('x', clamp(state.square[0], 0, grid.w - 1) * U);
  r.setAttribute('y', clamp(state.square[1], 0, grid.h - 1) * U);
}
// Marks the map row of the chosen problem, when it is one of the shown level.
function markProblemRow() {
  var layer = view.problemRow;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  var p = state.problem >= 0 ? problemPlaces[state.problem] : null;
  if (!p || p.level !== state.level || p.row === undefined) return;
  var level = data.levels[p.level];
  layer.appendChild(shape('rect', { x: level.ox * U, y: (level.oy + p.row) * U, width: Math.max(1, level.w) * U, height: U,
    'class': 'problem-row' }));
}

// ---- the viewport ----
function wrap() { return byId('board-wrap'); }
// The room around the board, in pixels left and above it: half the view, so that any square can
// stand in the middle of the view.
var pad = [0, 0];
// The point of the common grid (in squares, fractional) at a pixel of the view.
function gridAt(px, py) {
  var w = wrap();
  return [(w.scrollLeft + px - pad[0]) / state.cell - 1, (w.scrollTop + py - pad[1]) / state.cell - 1];
}
// Scrolls so that the point of the common grid stands at the pixel of the view.
function putAt(gx, gy, px, py) {
  var w = wrap();
  w.scrollLeft = Math.round((gx + 1) * state.cell + pad[0] - px);
  w.scrollTop = Math.round((gy + 1) * state.cell + pad[1] - py);
}
// (pad is half the view, as applyScale measured it.)
function centreOn(gx, gy) { putAt(gx, gy, pad[0], pad[1]); }
// Zooms to the cell size, keeping the point of the common grid at the pixel of the view where it is.
function zoomTo(cell, px, py) {
  var at = gridAt(px, py);
  state.cell = clamp(cell, MIN_CELL, MAX_CELL);
  applyScale();
  putAt(at[0], at[1], px, py);
}
// The selected square's centre in pixels of the view, or null.
function selectionInView() {
  if (!state.square) return null;
  var w = wrap();
  var px = (clamp(state.square[0], 0, grid.w - 1) + 1.5) * state.cell + pad[0] - w.scrollLeft;
  var py = (clamp(state.square[1], 0, grid.h - 1) + 1.5) * state.cell + pad[1] - w.scrollTop;
  return px >= 0 && py >= 0 && px <= w.clientWidth && py <= w.clientHeight ? [px, py] : null;
}
// One zoom step in (1) or out (-1): around the selection, which stays where it is in the view (or
// is centred when it was out of view), or around the middle of the view.
function zoomStep(direction) {
  var factor = direction > 0 ? ZOOM_STEP : 1 / ZOOM_STEP;
  if (state.square) {
    var at = selectionInView();
    var sx = clamp(state.square[0], 0, grid.w - 1) + 0.5, sy = clamp(state.square[1], 0, grid.h - 1) + 0.5;
    state.cell = clamp(state.cell * factor, MIN_CELL, MAX_CELL);
    applyScale();
    if (at) putAt(sx, sy, at[0], at[1]); else centreOn(sx, sy);
    return;
  }
  zoomTo(state.cell * factor, wrap().clientWidth / 2, wrap().clientHeight / 2);
}
// The cell size that fits the shown level's own map into the view.
function fittingCell() {
  var level = data.levels[state.level];
  var w = wrap();
  var cell = Math.min(w.clientWidth / (level.w + 2.5), w.clientHeight / (level.h + 2.5));
  return clamp(Math.floor(cell * 4) / 4, MIN_CELL, MAX_CELL);
}
// Fits the shown level's own map into the view (drawn at that size already when scaled is true).
function fit(scaled) {
  var level = data.levels[state.level];
  if (!scaled) {
    state.cell = fittingCell();
    applyScale();
  }
  centreOn(level.ox + level.w / 2, level.oy + level.h / 2);
}
// Scrolls the selected square into the view: centred (how 'centre'), or just enough to see it
// with a margin (how 'keep').
function showSquareInView(how) {
  if (!state.square || !how) return;
  var x = clamp(state.square[0], 0, grid.w - 1) + 0.5, y = clamp(state.square[1], 0, grid.h - 1) + 0.5;
  if (how === 'centre' || !selectionInView()) { centreOn(x, y); return; }
  var w = wrap(), margin = Math.min(2 * state.cell, w.clientWidth / 4);
  var px = (x + 1) * state.cell + pad[0] - w.scrollLeft, py = (y + 1) * state.cell + pad[1] - w.scrollTop;
  if (px < margin) w.scrollLeft -= margin - px;
  if (px > w.clientWidth - margin) w.scrollLeft += px - (w.clientWidth - margin);
  if (py < margin) w.scrollTop -= margin - py;
  if (py > w.clientHeight - margin) w.scrollTop += py - (w.clientHeight - margin);
}

// ---- selecting ----
// Selects object i (or no object, -1) and the square, shows them in the view as 'how' says
// ('centre', 'keep' or nothing), and writes the selection into the address.
function select(i, square, how) {
  var old = state.selected;
  state.selected = i;
  state.square = square;
  if (view) {
    markSelection(old, false);
    markSelection(i, true);
    dimOthers();
    placeSelection();
    drawLabels();
    showSquareInView(how);
  }
  showSelection();
  announce();
  writeAddress();
}
function announce() {
  var text = '';
  if (state.selected >= 0) {
    var o = objects[state.selected];
    text = o.id + ' selected: ' + o.kind + ', ' + (o.lv >= 0 ? placeText(o.lv, o.x, o.y) : 'inside another object');
  } else if (state.square) {
    var here = view && view.squares[state.square[0] + ',' + state.square[1]] || [];
    text = placeText(state.level, state.square[0], state.square[1]) + ': ' + plural(here.length, 'object');
  }
  byId('announce').textContent = text;
}
// Shows or hides the links of one kind.
function showLinkKind(how, shown) {
  state.hidden[how] = !shown;
  if (!view) return;
  byId('overlay').classList.toggle('hide-' + how, !shown);
  drawBadges();
  drawLabels();
}
// Shows or hides the symbols of one kind.
function showKind(kind, shown) {
  state.hiddenKinds[kind] = !shown;
  if (!view) return;
  onLevel[state.level].forEach(function (i) {
    if (objects[i].kind !== kind || !view.symbols[i]) return;
    if (shown) view.symbols[i].removeAttribute('display'); else view.symbols[i].setAttribute('display', 'none');
  });
}

// ---- the address ----
var written = null;
function writeAddress() {
  var hash = state.selected >= 0 ? '#select=' + encodeURIComponent(objects[state.selected].id) : '#level=' + state.level;
  if (hash === location.hash) return;
  written = hash;
  try { history.replaceState(null, '', hash); } catch (error) { /* a page that may not change its address */ }
}
// Opens what the address asks for: level=N, then select=ID or find=TEXT.
function readAddress(first) {
  if (!first && location.hash === written) return;
  var values = addressValues();
  var asked = Number(values.level);
  if (values.level !== undefined && values.level !== '' && asked >= 0 && asked < data.levels.length && Math.floor(asked) === asked)
    showLevel(asked);
  else if (first) showLevel(data.entrance && data.entrance.lv >= 0 && data.entrance.lv < data.levels.length ? data.entrance.lv : 0);
  if (values.select !== undefined) {
    for (var i = 0; i < objects.length; i++) if (objects[i].id === values.select) { goTo(i); break; }
  }
  if (values.find !== undefined) {
    byId('find').value = values.find;
    var found = showMatches();
    if (found.length) goTo(found[0]);
  }
}

function buildHeldList(n) {
  var list = byId('held-list');
  list.textContent = '';
  heldOn[n].forEach(function (i) {
    var o = objects[i];
    var li = element('li');
    li.appendChild(gotoLink(i, o.id));
    li.appendChild(document.createTextNode(' (' + o.type + ')' + (o.holder && o.holder[1] >= 0 ?
      ' in ' + objects[o.holder[1]].id : ' held by no object') + (o.why !== undefined ? ', written as a comment' : '')));
    list.appendChild(li);
  });
  if (!list.firstChild) list.appendChild(element('li', null, 'none'));
}

// The level's objects as a table: the board's text alternative, built while it is open.
function buildTable() {
  var table = byId('object-table');
  table.textContent = '';
  if (!byId('table-section').open) return;
  table.appendChild(element('caption', null, 'Objects of level ' + state.level + ', in the order of their dump lines'));
  var head = element('tr');
  ['identifier', 'kind', 'dump type', 'column', 'row', 'facing or corner', 'written as', 'dump line'].forEach(function (h) {
    var th = element('th', null, h);
    th.setAttribute('scope', 'col');
    head.appendChild(th);
  });
  var thead = element('thead');
  thead.appendChild(head);
  table.appendChild(thead);
  var body = element('tbody');
  onLevel[state.level].forEach(function (i) {
    var o = objects[i];
    var d = dumpSquare(o.lv, o.x, o.y);
    var tr = element('tr');
    var first = element('td');
    first.appendChild(gotoLink(i, o.id));
    tr.appendChild(first);
    [o.kind, o.type, String(d[0]), String(d[1]), o.pl || '', o.why !== undefined ? 'comment' : 'statements', String(o.ln)]
      .forEach(function (text) { tr.appendChild(element('td', null, text)); });
    body.appendChild(tr);
  });
  table.appendChild(body);
}

// ---- details ----
function gotoLink(i, text) {
  var a = element('button', 'goto', text);
  a.type = 'button';
  a.setAttribute('data-goto', i);
  a.addEventListener('click', function (event) { event.preventDefault(); goTo(i); });
  return a;
}
// Where an object stands, when that is not the shown level: ' (level n)' or ' (inside another object)'.
function elsewhere(i) {
  var lv = objects[i].lv;
  return lv === state.level ? '' : lv >= 0 ? ' (level ' + lv + ')' : ' (inside another object)';
}
function referenceNode(ref) {
  if (ref[1] < 0) return document.createTextNode(ref[0] + ' (no such object)');
  var span = element('span');
  span.appendChild(gotoLink(ref[1], ref[0]));
  span.appendChild(document.createTextNode(elsewhere(ref[1])));
  return span;
}
function nodes(list) {
  var span = element('span');
  list.forEach(function (node, k) { if (k > 0) span.appendChild(document.createTextNode(', ')); span.appendChild(node); });
  return span;
}
function squareLink(n, x, y) {
  var b = element('button', 'goto', placeText(n, x, y));
  b.type = 'button';
  b.addEventListener('click', function () { goToSquare(n, x, y); });
  return b;
}
function showObject(i) {
  var o = objects[i];
  var info = byId('info');
  info.textContent = '';
  info.appendChild(element('h3', null, o.id));
  var dl = element('dl');
  function add(term, value) {
    dl.appendChild(element('dt', null, term));
    var dd = element('dd');
    if (typeof value === 'string') dd.textContent = value; else dd.appendChild(value);
    dl.appendChild(dd);
  }
  add('dump type', o.type);
  add('object name', o.name !== undefined ? o.name : '(obj_list.txt does not name this type)');
  add('kind', o.kind);
  add('square', o.lv >= 0 ? placeText(o.lv, o.x, o.y) + (onOwnMap(o.lv, o.x, o.y) ? '' : ', off the level\u2019s map') :
    'inside another object');
  if (o.pl) add('facing or corner', o.pl);
  add('written as', o.why !== undefined ? 'a comment: ' + o.why : 'statements');
  if (o.tg) add('targets', nodes(o.tg.map(referenceNode)));
  if (o.door) add('door', referenceNode(o.door));
  if (o.dest) add('destination', levelOf(o.dest[0]) ? squareLink(o.dest[0], o.dest[1], o.dest[2]) :
    'level ' + o.dest[0] + ' (no such level)');
  if (o.holder) add('held by', referenceNode(o.holder));
  if (o.holds) {
    var held = Object.create(null);
    (heldBy[i] || []).forEach(function (k) { if (!(objects[k].id in held)) held[objects[k].id] = k; });
    add('holds', nodes(o.holds.map(function (name) {
      return name in held ? gotoLink(held[name], name) : document.createTextNode(name);
    })));
  }
  if (incoming[i]) add('worked by', nodes(incoming[i].map(function (a) {
    return referenceNode([objects[a.from].id, a.from]);
  })));
  info.appendChild(dl);
  if (o.props) { info.appendChild(element('div', null, 'properties:')); info.appendChild(element('pre', null, o.props)); }
  info.appendChild(element('div', null, data.dump + ' line ' + o.ln + ':'));
  info.appendChild(element('pre', null, o.src));
}
// One link of a square to or from another level, as a line of its details.
function crossingNode(entry) {
  var li = element('li');
  function object(i) { li.appendChild(gotoLink(i, objects[i].id)); }
  var word = entry.how === 'door' ? 'door ' : entry.how === 'destination' ? 'teleports ' : '';
  if (entry.out) {
    object(entry.obj);
    li.appendChild(document.createTextNode(' \u2192 ' + word));
    if (entry.how === 'destination') {
      var d = objects[entry.obj].dest;
      if (levelOf(d[0])) li.appendChild(squareLink(d[0], d[1], d[2]));
      else li.appendChild(document.createTextNode('level ' + d[0] + ' (no such level)'));
    } else {
      li.appendChild(referenceNode([entry.name, entry.other]));
    }
  } else {
    if (entry.obj >= 0) object(entry.obj); else li.appendChild(document.createTextNode('this square'));
    li.appendChild(document.createTextNode(' \u2190 ' + word + 'from '));
    li.appendChild(referenceNode([objects[entry.other].id, entry.other]));
  }
  return li;
}
function showSquare(x, y) {
  var info = byId('info');
  info.textContent = '';
  var n = state.level;
  info.appendChild(element('h3', null, placeText(n, x, y)));
  info.appendChild(element('div', null, 'map character "' + charAt(data.levels[n], x, y) + '"' +
    (onOwnMap(n, x, y) ? '' : ', off the level\u2019s map')));
  var e = data.entrance;
  if (e && e.lv === n && e.x === x && e.y === y)
    info.appendChild(element('div', null, 'the party starts here, facing ' + e.facing + (e.placed ? '' : ' (not placed)')));
  var key = x + ',' + y;
  var here = view && view.squares[key] || [];
  var ul = element('ul');
  here.forEach(function (i) {
    var li = element('li');
    li.appendChild(gotoLink(i, objects[i].id));
    li.appendChild(document.createTextNode(' (' + objects[i].kind + ', ' + objects[i].type + ')'));
    ul.appendChild(li);
  });
  info.appendChild(element('div', null, plural(here.length, 'object') + ' on this square' +
    (here.length ? ' (Enter selects the first, again the next)' : '')));
  info.appendChild(ul);
  var crossing = view && view.crossing[key];
  if (crossing) {
    info.appendChild(element('div', null, 'links to and from other levels:'));
    var links = element('ul');
    crossing.entries.forEach(function (entry) { links.appendChild(crossingNode(entry)); });
    info.appendChild(links);
  }
}
function showSelection() {
  if (state.selected >= 0) showObject(state.selected);
  else if (state.square) showSquare(state.square[0], state.square[1]);
  else byId('info').textContent = 'Hover over or select a symbol or a square.';
}

// ---- navigation ----
function showLevel(n) {
  if (n < 0 || n >= data.levels.length) return;
  var changed = n !== state.level;
  if (changed) { state.selected = -1; state.square = null; state.hover = null; buildHeldList(n); }
  state.level = n;
  Array.prototype.forEach.call(byId('level-tabs').children, function (b) {
    var current = Number(b.getAttribute('data-level')) === n;
    b.classList.toggle('current', current);
    b.setAttribute('aria-selected', current ? 'true' : 'false');
    b.tabIndex = current ? 0 : -1;
  });
  // A level opens fitted: its size is known before it is drawn, so that it is laid out once.
  if (changed) state.cell = fittingCell();
  drawLevel();
  if (changed) { fit(true); buildTable(); writeAddress(); }
  showSelection();
}
function goTo(i) {
  var o = objects[i];
  var root = o.lv >= 0 ? i : rootHolder(i);
  if (root < 0) { select(i, null); return; }
  var r = objects[root];
  if (r.lv !== state.level) showLevel(r.lv);
  select(i, [r.x, r.y], 'centre');
}
function goToSquare(n, x, y) {
  showLevel(n);
  select(-1, [x, y], 'centre');
}
// Moves the selected square by a step on the board, staying in view.
function moveSquare(dx, dy) {
  var level = data.levels[state.level];
  var at = state.square || (data.entrance && data.entrance.lv === state.level ? [data.entrance.x, data.entrance.y] :
    [level.ox, level.oy]);
  if (state.square) at = [clamp(at[0] + dx, 0, grid.w - 1), clamp(at[1] + dy, 0, grid.h - 1)];
  select(-1, at, 'keep');
}
// Selects an object of the selected square: the first, or the one after the selected one.
function selectOnSquare() {
  if (!state.square) return;
  var here = view.squares[state.square[0] + ',' + state.square[1]] || [];
  if (!here.length) return;
  var next = here[(here.indexOf(state.selected) + 1) % here.length];
  select(next, state.square, 'keep');
}

// ---- search ----
var lowerIds = null;
// The objects whose identifier holds the text, without regard to case: those it equals first,
// then those it begins, then the others, each in dump order.
function matchesOf(text) {
  var wanted = text.toLowerCase();
  if (!wanted) return [];
  if (!lowerIds) lowerIds = objects.map(function (o) { return o.id.toLowerCase(); });
  var equal = [], begin = [], inside = [];
  lowerIds.forEach(function (id, i) {
    var at = id.indexOf(wanted);
    if (at < 0) return;
    (id.length === wanted.length ? equal : at === 0 ? begin : inside).push(i);
  });
  return equal.concat(begin, inside);
}
// Lists the matches of the search box; returns them.
function showMatches() {
  var list = byId('find-results');
  list.textContent = '';
  var text = byId('find').value;
  var found = matchesOf(text);
  if (text && !found.length) list.appendChild(element('li', 'more', 'no identifier holds "' + text + '"'));
  found.slice(0, MAX_MATCHES).forEach(function (i) {
    var li = element('li');
    li.appendChild(gotoLink(i, objects[i].id));
    var o = objects[i];
    li.appendChild(document.createTextNode(' ' + o.kind + ', ' + (o.lv >= 0 ? placeText(o.lv, o.x, o.y) : 'inside another object')));
    list.appendChild(li);
  });
  if (found.length > MAX_MATCHES) list.appendChild(element('li', 'more', 'and ' + (found.length - MAX_MATCHES) + ' more'));
  return found;
}
function searchEvents() {
  var box = byId('find');
  box.addEventListener('input', showMatches);
  box.addEventListener('keydown', function (event) {
    if (event.key === 'Enter') {
      var found = showMatches();
      if (found.length) goTo(found[0]);
    } else if (event.key === 'Escape') {
      box.value = '';
      showMatches();
    }
  });
}

// ---- problems ----
// Per problem: what it belongs to: { object } an object with a square, { level, x, y } a square,
// { level, row } a map row, { level } a level block; null when none of those.
var problemPlaces = [];
function placeOfProblem(p) {
  if (p.list) return null;
  var here = (byLine[p.ln] || []).filter(function (i) { return rootHolder(i) >= 0; });
  if (here.length) return { object: here[0] };
  var e = data.entrance;
  if (e && e.ln === p.ln && levelOf(e.lv)) return { level: e.lv, x: e.x, y: e.y };
  var row = rowOfLine(p.ln);
  if (row) return row;
  var n = levelOfLine(p.ln);
  return n >= 0 ? { level: n } : null;
}
function buildProblems() {
  var list = byId('problems');
  byId('problem-heading').textContent = 'Warnings and errors: ' + countText();
  if (!data.problems.length) list.appendChild(element('li', 'none', 'none: the dump converted without a message'));
  else byId('problem-heading').title = data.summary;
  var flagged = Object.create(null);
  data.problems.forEach(function (p, k) {
    var li = element('li', p.error ? 'error' : 'warning', p.text);
    li.setAttribute('data-line', p.ln);
    li.setAttribute('data-name', p.name);
    li.tabIndex = 0;
    var place = problemPlaces[k] = placeOfProblem(p);
    if (place) {
      li.classList.add('has-square');
      li.title = place.object !== undefined ? 'select its object' : place.row !== undefined ? 'show its map row' :
        place.x !== undefined ? 'show its square' : 'show its level';
      if (place.object === undefined && place.x === undefined) flagged[place.level] = true;
    }
    li.addEventListener('click', function () { chooseProblem(k); });
    li.addEventListener('keydown', function (event) {
      if (event.key === 'Enter' || event.key === ' ') { event.preventDefault(); chooseProblem(k); }
    });
    list.appendChild(li);
  });
  Object.keys(flagged).forEach(function (n) {
    var tab = byId('level-tabs').children[n];
    if (tab) { tab.classList.add('has-problem'); tab.title = 'a problem of this level block is listed'; }
  });
  byId('problem-previous').addEventListener('click', function () { stepProblem(-1); });
  byId('problem-next').addEventListener('click', function () { stepProblem(1); });
}
function stepProblem(step) {
  var count = data.problems.length;
  if (!count) return;
  chooseProblem(state.problem < 0 ? (step > 0 ? 0 : count - 1) : (state.problem + step + count) % count);
}
// Picks problem k: marks its entry and shows what it belongs to.
function chooseProblem(k) {
  var list = byId('problems');
  if (state.problem >= 0 && list.children[state.problem]) list.children[state.problem].classList.remove('chosen');
  state.problem = k;
  var li = list.children[k];
  li.classList.add('chosen');
  li.scrollIntoView({ block: 'nearest' });
  var place = problemPlaces[k];
  if (place && data.levels.length) {
    if (place.object !== undefined) goTo(place.object);
    else if (place.x !== undefined) goToSquare(place.level, place.x, place.y);
    else {
      showLevel(place.level);
      var level = data.levels[place.level];
      if (place.row !== undefined) select(-1, [level.ox, level.oy + place.row], 'centre');
      else select(-1, null);
    }
  }
  if (view) markProblemRow();
}
function showProblems() {
  var heading = byId('problem-heading');
  heading.scrollIntoView({ block: 'nearest' });
  heading.focus();
}

// ---- the board's events ----
function boardEvents() {
  var svg = byId('overlay');
  var w = wrap();
  function symbolOf(event) {
    var node = event.target;
    while (node && node !== svg) {
      if (node.getAttribute && node.getAttribute('data-object') !== null) return Number(node.getAttribute('data-object'));
      node = node.parentNode;
    }
    return -1;
  }
  function squareOf(event) {
    var box = w.getBoundingClientRect();
    var at = gridAt(event.clientX - box.left - w.clientLeft, event.clientY - box.top - w.clientTop);
    return [Math.floor(at[0]), Math.floor(at[1])];
  }
  // A press and a move of more than a few pixels pans the board; a press without one selects.
  var drag = null;
  w.addEventListener('pointerdown', function (event) {
    if (event.button !== 0) return;
    drag = { x: event.clientX, y: event.clientY, left: w.scrollLeft, top: w.scrollTop, moved: false, id: event.pointerId };
  });
  w.addEventListener('pointermove', function (event) {
    var at = squareOf(event);
    var inside = at[0] >= 0 && at[1] >= 0 && at[0] < grid.w && at[1] < grid.h;
    byId('readout').textContent = inside ? placeText(state.level, at[0], at[1]) : '';
    if (!drag) return;
    var dx = event.clientX - drag.x, dy = event.clientY - drag.y;
    if (!drag.moved && Math.abs(dx) + Math.abs(dy) > 4) {
      drag.moved = true;
      w.classList.add('dragging');
      try { w.setPointerCapture(drag.id); } catch (error) { /* the pointer is gone */ }
    }
    if (drag.moved) { w.scrollLeft = drag.left - dx; w.scrollTop = drag.top - dy; }
  });
  function endDrag() { if (drag) { w.classList.remove('dragging'); setTimeout(function () { drag = null; }, 0); } }
  w.addEventListener('pointerup', endDrag);
  w.addEventListener('pointercancel', endDrag);
  svg.addEventListener('mouseover', function (event) {
    var i = symbolOf(event);
    if (i < 0) return;
    showObject(i);
    var key = view.positions[i] ? Math.floor(view.positions[i][0] / U) + ',' + Math.floor(view.positions[i][1] / U) : null;
    if (key !== state.hover) { state.hover = key; drawLabels(); }
  });
  svg.addEventListener('mouseleave', function () {
    showSelection();
    if (state.hover) { state.hover = null; drawLabels(); }
  });
  svg.addEventListener('click', function (event) {
    if (drag && drag.moved) return;
    var i = symbolOf(event);
    if (i >= 0) select(i, view.positions[i] ? [Math.floor(view.positions[i][0] / U), Math.floor(view.positions[i][1] / U)] : null, 'keep');
    else {
      var at = squareOf(event);
      if (at[0] >= 0 && at[1] >= 0 && at[0] < grid.w && at[1] < grid.h) select(-1, at, 'keep');
    }
    w.focus({ preventScroll: true });
  });
  // The wheel (and a pinch on a touchpad, which arrives as a wheel with the control key) zooms
  // around the pointer.
  w.addEventListener('wheel', function (event) {
    event.preventDefault();
    var box = w.getBoundingClientRect();
    var delta = event.deltaMode === 1 ? event.deltaY * 20 : event.deltaY;
    zoomTo(state.cell * Math.exp(-delta * (event.ctrlKey ? 0.01 : 0.002)), event.clientX - box.left, event.clientY - box.top);
  }, { passive: false });
  w.addEventListener('keydown', function (event) {
    var moves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    var handled = true;
    if (has(moves, event.key)) moveSquare(moves[event.key][0], moves[event.key][1]);
    else if (event.key === 'Enter') selectOnSquare();
    else if (event.key === 'Escape') select(-1, null);
    else if (event.key === '+' || event.key === '=') zoomStep(1);
    else if (event.key === '-' || event.key === '_') zoomStep(-1);
    else if (event.key === 'f' || event.key === 'F' || event.key === '0') fit(false);
    else if (event.key === 'PageUp') showLevel(state.level - 1);
    else if (event.key === 'PageDown') showLevel(state.level + 1);
    else handled = false;
    if (handled) event.preventDefault();
  });
  byId('zoom-in').addEventListener('click', function () { zoomStep(1); });
  byId('zoom-out').addEventListener('click', function () { zoomStep(-1); });
  byId('fit').addEventListener('click', function () { fit(false); });
  LINK_KINDS.forEach(function (l) {
    byId('show-' + l[0]).addEventListener('change', function (event) { showLinkKind(l[0], event.target.checked); });
  });
  byId('show-neighbours').addEventListener('change', function (event) {
    state.neighbours = event.target.checked;
    drawNeighbours();
  });
  byId('table-section').addEventListener('toggle', buildTable);
  window.addEventListener('hashchange', function () { readAddress(false); });
}

// Messages from the page around this one, when it stands in a frame: taken as data only.
function frameEvents() {
  window.addEventListener('message', function (event) {
    if (event.source !== window.parent || window.parent === window) return;
    var m = event.data;
    if (!m || typeof m !== 'object') return;
    if (typeof m.dump === 'string') setTitle(m.dump);
    if (m.problems === true) showProblems();
    if (typeof m.problem === 'string') {
      for (var k = 0; k < data.problems.length; k++) {
        if (data.problems[k].text !== m.problem) continue;
        chooseProblem(k);
        byId('problems').children[k].focus({ preventScroll: true });
        break;
      }
    }
  });
}

buildSummary();
buildLegend();
if (data.levels.length) buildTabs();
buildProblems();
frameEvents();
if (data.levels.length) {
  boardEvents();
  searchEvents();
  state.level = -1;
  readAddress(true);
} else {
  byId('board-wrap').textContent = 'The dump has no level.';
}
document.body.setAttribute('data-ready', 'yes');
})();
