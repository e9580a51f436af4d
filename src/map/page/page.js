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
// and from the JSON array of the element "dungeon-texts", one entry per object in the same order:
// [the text of its dump line, the property statements the script holds for it ("" for none)].
// Every text of the data reaches the page as text (textContent, the value of an attribute the
// script names, or text painted on a canvas), never as markup.
//
// Positions are shown as the dump writes them: a level's column and row on its own map, counted
// from 0; a square of the common grid is that column plus the level's ox, that row plus its oy.
//
// The address may say, after "#" and joined by "&": level=N opens level N; select=ID selects the
// object ID; find=TEXT searches for TEXT and selects the first match; boxes writes what the board
// painted once the page is drawn (boardBoxes, below) into the element "board-boxes", for tools
// that read only the document. Selecting writes select=ID
// into the address, and a changed address selects again. The page in a frame also takes messages
// from the page around it: {problem: TEXT} picks the problem printed as TEXT, {problems: true}
// shows the problem list, {dump: NAME} names the dump's file in the title.
//
// The board is painted on canvases; window.boardBoxes() gives the boxes it painted (see there).
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
// More links than this on a level are drawn faintly while nothing is selected.
var MANY_LINKS = 200;
// The least and most pixels per square, and the factor of one zoom step.
var MIN_CELL = 2, MAX_CELL = 120, ZOOM_STEP = 1.25;
// The pixels of a label's text, whatever the zoom.
var LABEL_PX = 12;
// The board's strokes: colour, width in pixels and dashes, for the board and its legend alike.
var INK = {
  target: ['#1565c0', 1.6, []], door: ['#e67e22', 1.6, [4, 2]], destination: ['#8e44ad', 1.6, [6, 3]],
  ring: ['#8e44ad', 2, []], outline: ['#0a58ca', 2, []], selection: ['#ff00aa', 2.5, [4, 2]],
  chosen: ['#ff00aa', 3, []], problemRow: ['#cc0000', 2, [5, 3]], leader: ['#a0006a', 1, [2, 2]],
  badge: ['#ffffff', 0.5, []], offMap: ['#cc0000', 2.5, [3, 2]], edge: ['#222222', 1, []],
  commented: ['#8a8a8a', 1, [2, 1.5]], party: ['#f1c40f', 3, []], partyUnplaced: ['#f1c40f', 3, [4, 3]],
  above: ['#ffffff', 1.5, [3, 2]], below: ['#111111', 1.5, [1, 2]] };
var PROBLEM_ROW_FILL = 'rgba(255, 40, 40, 0.18)', BADGE_FILL = '#1b2631', BACKDROP = '#3a3a44';
var OWN_LINK_WIDTH = 2.8, OWN_RING_WIDTH = 3;
// The opacity of the links while another object is selected, and while a level has many links and
// nothing is selected.
var PICKED_ALPHA = 0.1, MANY_ALPHA = 0.22;
// The labels' text and its colours (the selected square's own, the hovered one's).
var LABEL_FONT = 'bold 12px sans-serif', LABEL_COLOURS = ['#a0006a', '#1b2631'];
// The pixels of the rulers along the top and the left edge of the view.
var RULER_W = 28, RULER_H = 16;

// How a symbol of the look is painted: its fill (null for none), its stroke and its glyph's colour.
function symbolInk(look, commented, r) {
  if (commented) return { fill: null, ink: INK.commented, glyph: INK.commented[0] };
  if (look.shape === 'frame') return { fill: '#f6e3cf', ink: [look.colour, Math.max(1.5, Math.min(3, r / 3)), []], glyph: '#5a2d0c' };
  return { fill: look.colour, ink: INK.edge, glyph: '#fff' };
}
// The party's arrow for a facing, as the points of a triangle around the middle of its square of
// the given half side; null when the facing is not one of the four.
function partyArrow(half, facing) {
  var d = has(DIRECTIONS, facing) ? DIRECTIONS[facing] : null;
  if (!d || Math.abs(d[0]) + Math.abs(d[1]) !== 1) return null;
  var a = half * 0.55;
  // Each point as [ahead, to the right], turned to the facing.
  return [[half + a, 0], [half - a * 0.3, a], [half - a * 0.3, -a]].reduce(function (points, p) {
    return points.concat([p[0] * d[0] - p[1] * d[1], p[0] * d[1] + p[1] * d[0]]);
  }, []);
}

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

// Indexes: objects per level, held objects per holder, links that arrive from other objects,
// teleporters per level of their destination.
var onLevel = data.levels.map(function () { return []; });
var arrivingOn = data.levels.map(function () { return []; });
var heldBy = {};
var incoming = {};
objects.forEach(function (o, i) {
  if (o.lv >= 0 && o.lv < onLevel.length) onLevel[o.lv].push(i);
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
// pointer whose labels are shown; hidden: link kinds switched off; hiddenKinds: object kinds
// switched off; problem: the chosen problem's index or -1.
var state = { level: 0, cell: 12, selected: -1, square: null, hover: null, hidden: {}, hiddenKinds: {},
  neighbours: false, problem: -1 };

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
// Sets the stroke of an element of the legend as the board paints that mark: the name of one of
// INK's, or a stroke of its form.
function inked(e, name) {
  var ink = typeof name === 'string' ? INK[name] : name;
  e.setAttribute('stroke', ink[0]);
  e.setAttribute('stroke-width', ink[1]);
  if (ink[2].length) e.setAttribute('stroke-dasharray', ink[2].join(' '));
  if (e.getAttribute('fill') === null) e.setAttribute('fill', 'none');
  return e;
}
function legendSymbol(kind, commented, offMap) {
  var s = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  s.appendChild(symbolShape(kind, 8, commented, offMap));
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
  outline.appendChild(inked(shape('rect', { x: 2, y: 2, width: 18, height: 12 }), 'outline'));
  row(outline, 'the level\u2019s own map (outside it: dimmed); the numbers along the top and left edges of the ' +
    'view are its columns and rows, counted from 0');
  var rowMark = small(22, 16);
  rowMark.appendChild(inked(shape('rect', { x: 1, y: 4, width: 20, height: 8, fill: PROBLEM_ROW_FILL }), 'problemRow'));
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
    label.appendChild(legendSymbol(k, false, false));
    label.appendChild(document.createTextNode(k));
    r.appendChild(label);
    legend.appendChild(r);
  });
  row(legendSymbol('other', true, false), 'written as a comment (hollow, grey)');
  row(legendSymbol('other', false, true), 'off its level\u2019s map (red dashes; beyond the board it stands at the edge)');
  var tick = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  tick.appendChild(symbolShape('other', 6, false, false));
  tick.appendChild(shape('line', { x1: 0, y1: -6, x2: 0, y2: -10, stroke: '#000', 'stroke-width': 2 }));
  row(tick, 'tick: its facing or corner');
  legend.appendChild(element('h3', null, 'Links'));
  LINK_KINDS.forEach(function (l) {
    var s = small(22, 12);
    s.appendChild(inked(shape('line', { x1: 1, y1: 6, x2: 17, y2: 6 }), l[0]));
    if (l[0] !== 'destination') s.appendChild(shape('polygon', { points: '16,2 22,6 16,10', fill: INK[l[0]][0] }));
    row(s, l[1]);
  });
  var ring = small(22, 22);
  ring.appendChild(inked(shape('circle', { cx: 11, cy: 11, r: 9 }), 'ring'));
  row(ring, 'a teleporter\u2019s destination square');
  var badge = small(22, 16);
  badge.appendChild(shape('rect', { x: 1, y: 1, width: 14, height: 14, fill: '#ece6d6', stroke: '#555' }));
  badge.appendChild(inked(shape('polygon', { points: '15,1 10,1 15,6', fill: BADGE_FILL }), 'badge'));
  row(badge, 'the square has links to or from other levels: hover over or select it for its label');
  row(element('span', 'link-sample', '\u2192 level 1 \u00b7 \u2190 level 2'),
    'the label: the levels its links go to (\u2192) and come from (\u2190)');
  var picked = small(22, 16);
  var own = inked(shape('line', { x1: 1, y1: 4, x2: 21, y2: 4 }), 'target');
  own.setAttribute('stroke-width', OWN_LINK_WIDTH);
  picked.appendChild(own);
  picked.appendChild(inked(shape('line', { x1: 1, y1: 12, x2: 21, y2: 12, opacity: PICKED_ALPHA }), 'target'));
  row(picked, 'a selected object\u2019s own links stand out, the others are dimmed; on a level with more than ' +
    MANY_LINKS + ' links they are faint until something is selected');
  var near = small(22, 22);
  near.appendChild(shape('rect', { width: 22, height: 22, fill: BACKDROP }));
  near.appendChild(inked(shape('circle', { cx: 7, cy: 11, r: 5 }), 'above'));
  near.appendChild(inked(shape('circle', { cx: 16, cy: 11, r: 5 }), 'below'));
  row(near, 'with \u201clevels above and below\u201d: the objects of the level above (dashes) and below (dots)');
  var p = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22', 'aria-hidden': 'true' });
  p.appendChild(partyShape(9, 'NORTH', true));
  row(p, 'the party\u2019s starting place and facing');
  var selection = small(22, 16);
  selection.appendChild(inked(shape('rect', { x: 2, y: 2, width: 14, height: 12 }), 'selection'));
  row(selection, 'the selected square; a ring marks the selected object');
}

// ---- symbols in the legend ----
function symbolShape(kind, r, commented, offMap) {
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
  var look = symbolInk(k, commented, r);
  body.setAttribute('fill', look.fill || 'none');
  inked(body, look.ink);
  if (offMap) inked(body, 'offMap');
  g.appendChild(body);
  var t = shape('text', { 'text-anchor': 'middle', 'dominant-baseline': 'central', 'font-size': (1.15 * r).toFixed(1),
    'font-family': 'sans-serif', 'font-weight': 'bold', fill: look.glyph, y: k.shape === 'triangle' ? (0.15 * r).toFixed(1) : 0 });
  t.textContent = k.glyph;
  g.appendChild(t);
  return g;
}
function partyShape(half, facing, placed) {
  var g = shape('g', {});
  var frame = inked(shape('rect', { x: -half, y: -half, width: 2 * half, height: 2 * half }), placed ? 'party' : 'partyUnplaced');
  g.appendChild(frame);
  var arrow = partyArrow(half, facing);
  if (arrow) g.appendChild(shape('polygon', { points: arrow.join(' '), fill: placed ? INK.party[0] : 'none', stroke: '#000' }));
  return g;
}

// ---- a level's layout ----
function charAt(level, x, y) {
  var row = level.rows[y - level.oy];
  if (row === undefined || x < level.ox) return '0';
  var c = row.charAt(x - level.ox);
  return c === '' ? '0' : c;
}
// The level's squares, one pixel a square of the common grid, its outside dimmed; the board
// paints it enlarged.
function terrainOf(level) {
  var canvas = document.createElement('canvas');
  canvas.width = grid.w;
  canvas.height = grid.h;
  var ctx = canvas.getContext('2d');
  for (var y = 0; y < grid.h; y++) {
    var x = 0;
    while (x < grid.w) {
      var c = charAt(level, x, y);
      var end = x + 1;
      while (end < grid.w && charAt(level, end, y) === c) end++;
      ctx.fillStyle = terrainColour[c] || '#ff00ff';
      ctx.fillRect(x, y, end - x, 1);
      x = end;
    }
  }
  ctx.fillStyle = 'rgba(30,30,40,0.42)';
  var left = clamp(level.ox, 0, grid.w), top = clamp(level.oy, 0, grid.h);
  var right = clamp(level.ox + level.w, left, grid.w), bottom = clamp(level.oy + level.h, top, grid.h);
  ctx.fillRect(0, 0, grid.w, top);
  ctx.fillRect(0, bottom, grid.w, grid.h - bottom);
  ctx.fillRect(0, top, left, bottom - top);
  ctx.fillRect(right, top, grid.w - right, bottom - top);
  return canvas;
}

// Lays out level n and the levels after it, one whenever the page is idle, then reads the objects'
// texts.
function layOutWhenIdle(n) {
  if (!window.requestIdleCallback) return;
  if (n < data.levels.length) requestIdleCallback(function () { layoutOf(n); layOutWhenIdle(n + 1); });
  else requestIdleCallback(function () { textsOf(0); });
}
// Each object's place in the arrays of its level's layout.
var slotOf = new Int32Array(objects.length).fill(-1);
var layouts = [];
// What the board shows of level n, in squares of the common grid: worked out once, the first time
// the level is shown.
function layoutOf(n) {
  if (!layouts[n]) layouts[n] = layOut(n);
  return layouts[n];
}
function layOut(n) {
  var list = onLevel[n];
  var L = {
    level: n, objects: list,
    // Per slot: the centre of the object's symbol, its radius, and the side of its share of the square.
    x: new Float64Array(list.length), y: new Float64Array(list.length), r: new Float64Array(list.length),
    sub: new Float64Array(list.length),
    // Per square "x,y": the objects on it.
    squares: Object.create(null),
    // The arrows between objects of the level: { from, to (-1 for a destination square), how, x1,
    // y1, x2, y2 (from the edge of one symbol to the edge of the other), head (its length) }; the
    // rings of the destination squares of teleporters: { from, x, y }.
    links: [], rings: [],
    // Per object: the indexes of its own arrows and rings.
    own: Object.create(null),
    // Per square "x,y": its links to and from other levels, and the keys of those squares.
    crossing: Object.create(null), crossingKeys: [],
    terrain: terrainOf(data.levels[n]),
    // The last labels placed, with what they were placed for.
    labels: { key: null, placed: [] }
  };
  list.forEach(function (i, s) {
    slotOf[i] = s;
    var key = clamp(objects[i].x, 0, grid.w - 1) + ',' + clamp(objects[i].y, 0, grid.h - 1);
    (L.squares[key] = L.squares[key] || []).push(i);
  });
  // Objects of one square share it in a small grid of their own, so that each stays reachable. An
  // object beyond the board stands at its edge.
  Object.keys(L.squares).forEach(function (key) {
    var here = L.squares[key], k = Math.ceil(Math.sqrt(here.length)), sub = 1 / k;
    var comma = key.indexOf(','), x = Number(key.slice(0, comma)), y = Number(key.slice(comma + 1));
    here.forEach(function (i, j) {
      var s = slotOf[i];
      L.x[s] = x + (j % k + 0.5) * sub;
      L.y[s] = y + (Math.floor(j / k) + 0.5) * sub;
      L.r[s] = sub * 0.36;
      L.sub[s] = sub;
    });
  });
  layLinks(L);
  return L;
}

// The arrows between objects of the level, from the edge of one symbol to the edge of the other,
// and per square the links to and from other levels (and the names that reach no object).
function layLinks(L) {
  var n = L.level;
  function own(i, list, index) {
    if (i < 0) return;
    var mine = L.own[i] = L.own[i] || { links: [], rings: [] };
    mine[list].push(index);
  }
  function crossing(x, y, entry) {
    var cx = clamp(x, 0, grid.w - 1), cy = clamp(y, 0, grid.h - 1), key = cx + ',' + cy;
    if (!L.crossing[key]) { L.crossing[key] = { x: cx, y: cy, entries: [] }; L.crossingKeys.push(key); }
    L.crossing[key].entries.push(entry);
  }
  // An arrow from object i to the point (tx, ty), ending toRadius before it, with a head of the
  // given length, which stays inside the target's share of its square.
  function line(i, tx, ty, toRadius, how, j, head) {
    var s = slotOf[i];
    var dx = tx - L.x[s], dy = ty - L.y[s];
    var length = Math.sqrt(dx * dx + dy * dy) || 1;
    var ux = dx / length, uy = dy / length;
    var fromRadius = i === j ? 0 : L.r[s];
    if (length <= fromRadius + toRadius) return;
    L.links.push({ from: i, to: j, how: how, x1: L.x[s] + ux * fromRadius, y1: L.y[s] + uy * fromRadius,
      x2: tx - ux * toRadius, y2: ty - uy * toRadius, head: head });
    own(i, 'links', L.links.length - 1);
    if (j !== i) own(j, 'links', L.links.length - 1);
  }
  function ring(t, x, y) {
    L.rings.push({ from: t, x: x + 0.5, y: y + 0.5 });
    own(t, 'rings', L.rings.length - 1);
  }
  function reference(i, ref, how) {
    var o = objects[i], t = ref[1];
    if (t >= 0 && objects[t].lv === n) line(i, L.x[slotOf[t]], L.y[slotOf[t]], L.r[slotOf[t]], how, t, L.sub[slotOf[t]] * 0.13);
    else crossing(o.x, o.y, { how: how, out: true, level: t >= 0 ? objects[t].lv : null, obj: i, other: t, name: ref[0] });
  }
  L.objects.forEach(function (i) {
    var o = objects[i];
    (o.tg || []).forEach(function (t) { reference(i, t, 'target'); });
    if (o.door) reference(i, o.door, 'door');
    if (o.dest) {
      if (o.dest[0] === n) {
        ring(i, o.dest[1], o.dest[2]);
        line(i, o.dest[1] + 0.5, o.dest[2] + 0.5, RING_RADIUS, 'destination', -1, 0);
      } else crossing(o.x, o.y, { how: 'destination', out: true, level: o.dest[0], obj: i, other: -1 });
    }
    (incoming[i] || []).forEach(function (arrival) {
      var from = objects[arrival.from];
      if (from.lv !== n) crossing(o.x, o.y, { how: arrival.how, out: false, level: from.lv, obj: i, other: arrival.from });
    });
  });
  // Teleporters of other levels (or inside objects) that send things here.
  arrivingOn[n].forEach(function (t) {
    var o = objects[t];
    ring(t, o.dest[1], o.dest[2]);
    crossing(o.dest[1], o.dest[2], { how: 'destination', out: false, level: o.lv, obj: -1, other: t });
  });
}
// The radius of the ring of a destination square, in squares.
var RING_RADIUS = 0.52;

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

// The side, in squares, of the corner mark of a square with links to other levels: inside the
// corner of the square that no symbol's box reaches.
function badgeSide(L, key) {
  var here = L.squares[key];
  return (here ? 1 / Math.ceil(Math.sqrt(here.length)) : 1) * 0.13;
}

// Offsets, in squares, of the places tried for a label away from its square, the nearest first.
var FAR_PLACES = (function () {
  var far = [];
  for (var dx = -12; dx <= 12; dx += 0.5) for (var dy = -12; dy <= 12; dy += 0.5) far.push([dx, dy, dx * dx + dy * dy]);
  return far.sort(function (a, b) { return a[2] - b[2]; });
})();
// The labels of the selected and the hovered square's links to other levels, each beside its
// square where it covers no symbol and stays on the board; where no such place is found, none
// (the square's details list the links). Each: { key, text, box: [left, top, right, bottom] in
// squares, far (true when a leader line joins it to its square), mine (the selected square's) }.
function labelsOf(L, measure) {
  var keys = [];
  if (state.square) keys.push(state.square[0] + ',' + state.square[1]);
  if (state.hover && keys.indexOf(state.hover) < 0) keys.push(state.hover);
  var asked = keys.join(' ') + '|' + state.cell + '|' + JSON.stringify(state.hidden) + JSON.stringify(state.hiddenKinds);
  if (L.labels.key === asked) return L.labels.placed;
  var scale = 1 / state.cell;
  var lineHeight = LABEL_PX * 1.3 * scale;
  var taken = [];
  keys.forEach(function (key, k) {
    var c = L.crossing[key];
    var text = c && crossingText(c.entries);
    if (!text) return;
    var w = (measure(text) + 4) * scale;
    var left = c.x, top = c.y;
    var midY = top + 0.5 - lineHeight / 2, midX = left + 0.5 - w / 2;
    // Beside the square first, then farther off, the nearest places first.
    var near = [[left + 1 + scale, midY], [left - scale - w, midY], [midX, top - lineHeight - scale], [midX, top + 1 + scale]];
    for (var p = 0; p < near.length + FAR_PLACES.length; p++) {
      var at = p < near.length ? near[p] : [midX + FAR_PLACES[p - near.length][0], midY + FAR_PLACES[p - near.length][1]];
      var box = [at[0], at[1], at[0] + w, at[1] + lineHeight];
      if (!labelFits(L, box, taken)) continue;
      taken.push({ key: key, text: text, box: box, far: p >= near.length, mine: k === 0 && !!state.square });
      return;
    }
  });
  L.labels = { key: asked, placed: taken };
  return taken;
}
// True when a label's box lies on the board, clear of every symbol shown and of the labels placed.
function labelFits(L, box, taken) {
  if (box[0] < -1 || box[1] < -1 || box[2] > grid.w + 1 || box[3] > grid.h + 1) return false;
  for (var t = 0; t < taken.length; t++) {
    var b = taken[t].box;
    if (box[0] < b[2] && b[0] < box[2] && box[1] < b[3] && b[1] < box[3]) return false;
  }
  for (var x = Math.floor(box[0]); x <= Math.floor(box[2]); x++) {
    for (var y = Math.floor(box[1]); y <= Math.floor(box[3]); y++) {
      var here = L.squares[x + ',' + y];
      if (!here) continue;
      for (var j = 0; j < here.length; j++) {
        var i = here[j], s = slotOf[i], r = L.r[s];
        if (state.hiddenKinds[objects[i].kind]) continue;
        if (box[0] < L.x[s] + r && L.x[s] - r < box[2] && box[1] < L.y[s] + r && L.y[s] - r < box[3]) return false;
      }
    }
  }
  return true;
}

// ---- painting the board ----
// The board is two canvases the size of the view, beneath the scrolling area that takes the
// pointer and the keys: the level (squares, links, symbols) and above it the marks (selection,
// labels, rulers). Each paints only what lies in the view, at the size of the zoom, in the frame
// after a change; a change of the selection or the pointer alone paints the marks alone.
var painter = { board: null, marks: null, width: 0, height: 0, ratio: 1, dirtyBoard: false, dirtyMarks: false,
  queued: false };
// Asks for the board (when whole is true, else only the marks) to be painted in the next frame.
function repaint(whole) {
  if (whole) painter.dirtyBoard = true;
  painter.dirtyMarks = true;
  if (painter.queued) return;
  painter.queued = true;
  requestAnimationFrame(paintNow);
}
// Paints what is asked for now.
function paintNow() {
  painter.queued = false;
  if (!data.levels.length) return;
  if (painter.dirtyBoard) paintBoard();
  if (painter.dirtyMarks) paintMarks();
  painter.dirtyBoard = painter.dirtyMarks = false;
}
// Sizes the canvases for the view, as the scrolling area measures it.
function measureView() {
  var w = wrap();
  painter.width = w.clientWidth;
  painter.height = w.clientHeight;
  painter.ratio = window.devicePixelRatio || 1;
  ['board-canvas', 'marks-canvas'].forEach(function (id) {
    var canvas = byId(id);
    canvas.width = Math.max(1, Math.round(painter.width * painter.ratio));
    canvas.height = Math.max(1, Math.round(painter.height * painter.ratio));
    canvas.style.width = painter.width + 'px';
    canvas.style.height = painter.height + 'px';
  });
  painter.board = byId('board-canvas').getContext('2d');
  painter.marks = byId('marks-canvas').getContext('2d');
}
// The pixel of the view where the top left corner of the common grid stands.
function origin() {
  var w = wrap();
  return [pad[0] + state.cell - w.scrollLeft, pad[1] + state.cell - w.scrollTop];
}
// The part of the common grid in the view, in squares: [left, top, right, bottom].
function squaresInView(o) {
  var cell = state.cell;
  return [-o[0] / cell, -o[1] / cell, (painter.width - o[0]) / cell, (painter.height - o[1]) / cell];
}
function stroke(ctx, ink, width) {
  ctx.strokeStyle = ink[0];
  ctx.lineWidth = width || ink[1];
  ctx.setLineDash(ink[2]);
}
// Adds a symbol's outline of the given shape, centre and radius (pixels) to a path.
function symbolPath(path, form, x, y, r) {
  if (form === 'square' || form === 'frame') path.rect(x - r, y - r, 2 * r, 2 * r);
  else if (form === 'diamond') { path.moveTo(x, y - r); path.lineTo(x + r, y); path.lineTo(x, y + r); path.lineTo(x - r, y); path.closePath(); }
  else if (form === 'triangle') { path.moveTo(x, y - r); path.lineTo(x + r, y + 0.8 * r); path.lineTo(x - r, y + 0.8 * r); path.closePath(); }
  else { path.moveTo(x + r, y); path.arc(x, y, r, 0, 2 * Math.PI); }
}
// True when the object is the selected one, on the shown level.
function selectedHere() {
  return state.selected >= 0 && objects[state.selected].lv === state.level;
}

function paintBoard() {
  var ctx = painter.board, L = layoutOf(state.level), level = data.levels[state.level], cell = state.cell;
  var o = origin(), v = squaresInView(o);
  function px(x) { return o[0] + x * cell; }
  function py(y) { return o[1] + y * cell; }
  // True when the box, in squares, reaches into the view.
  function inView(left, top, right, bottom) { return right >= v[0] && left <= v[2] && bottom >= v[1] && top <= v[3]; }
  ctx.setTransform(painter.ratio, 0, 0, painter.ratio, 0, 0);
  ctx.globalAlpha = 1;
  ctx.fillStyle = BACKDROP;
  ctx.fillRect(0, 0, painter.width, painter.height);
  // The squares.
  var x0 = clamp(Math.floor(v[0]), 0, grid.w), x1 = clamp(Math.ceil(v[2]), 0, grid.w);
  var y0 = clamp(Math.floor(v[1]), 0, grid.h), y1 = clamp(Math.ceil(v[3]), 0, grid.h);
  if (x1 > x0 && y1 > y0) {
    ctx.imageSmoothingEnabled = false;
    ctx.drawImage(L.terrain, x0, y0, x1 - x0, y1 - y0, px(x0), py(y0), (x1 - x0) * cell, (y1 - y0) * cell);
    if (cell >= 8) {
      ctx.fillStyle = 'rgba(0,0,0,0.13)';
      for (var gx = x0; gx < x1; gx++) ctx.fillRect(Math.round(px(gx)), py(y0), 1, (y1 - y0) * cell);
      for (var gy = y0; gy < y1; gy++) ctx.fillRect(px(x0), Math.round(py(gy)), (x1 - x0) * cell, 1);
    }
  }
  // The objects of the levels above and below, faintly.
  if (state.neighbours) {
    [[state.level - 1, 'above', 0.3], [state.level + 1, 'below', 0.2]].forEach(function (side) {
      if (side[0] < 0 || side[0] >= data.levels.length) return;
      var path = new Path2D(), seen = Object.create(null);
      onLevel[side[0]].forEach(function (i) {
        var n = objects[i], key = n.x + ',' + n.y;
        if (seen[key] || n.x < 0 || n.y < 0 || n.x >= grid.w || n.y >= grid.h || !inView(n.x, n.y, n.x + 1, n.y + 1)) return;
        seen[key] = true;
        path.moveTo(px(n.x + 0.5 + side[2]), py(n.y + 0.5));
        path.arc(px(n.x + 0.5), py(n.y + 0.5), side[2] * cell, 0, 2 * Math.PI);
      });
      ctx.globalAlpha = 0.45;
      stroke(ctx, INK[side[1]]);
      ctx.stroke(path);
    });
    ctx.globalAlpha = 1;
  }
  stroke(ctx, INK.outline);
  ctx.strokeRect(px(level.ox), py(level.oy), level.w * cell, level.h * cell);
  var row = problemRow();
  if (row) {
    ctx.fillStyle = PROBLEM_ROW_FILL;
    ctx.fillRect(px(row[0]), py(row[1]), (row[2] - row[0]) * cell, (row[3] - row[1]) * cell);
    stroke(ctx, INK.problemRow);
    ctx.strokeRect(px(row[0]), py(row[1]), (row[2] - row[0]) * cell, (row[3] - row[1]) * cell);
  }
  // The links beneath the symbols: the selected object's own over the others, which are dimmed.
  var picked = selectedHere();
  var mine = picked && L.own[state.selected] || { links: [], rings: [] };
  var isMine = Object.create(null);
  mine.links.forEach(function (k) { isMine[k] = true; });
  function paintLinks(list, alpha, width) {
    ctx.globalAlpha = alpha;
    LINK_KINDS.forEach(function (kind) {
      var how = kind[0];
      if (state.hidden[how]) return;
      var lines = new Path2D(), heads = new Path2D();
      list.forEach(function (k) {
        var a = L.links[k];
        if (a.how !== how || !inView(Math.min(a.x1, a.x2), Math.min(a.y1, a.y2), Math.max(a.x1, a.x2), Math.max(a.y1, a.y2))) return;
        lines.moveTo(px(a.x1), py(a.y1));
        lines.lineTo(px(a.x2), py(a.y2));
        if (a.head * cell >= 1) {
          var h = arrowHead(a);
          heads.moveTo(px(h[0]), py(h[1]));
          heads.lineTo(px(h[2]), py(h[3]));
          heads.lineTo(px(h[4]), py(h[5]));
          heads.closePath();
        }
      });
      stroke(ctx, INK[how], width);
      ctx.stroke(lines);
      ctx.fillStyle = INK[how][0];
      ctx.fill(heads);
    });
  }
  function paintRings(list, alpha, width) {
    if (state.hidden.destination) return;
    ctx.globalAlpha = alpha;
    var path = new Path2D();
    list.forEach(function (k) {
      var g = L.rings[k];
      if (!inView(g.x - 1, g.y - 1, g.x + 1, g.y + 1)) return;
      path.moveTo(px(g.x + RING_RADIUS), py(g.y));
      path.arc(px(g.x), py(g.y), RING_RADIUS * cell, 0, 2 * Math.PI);
    });
    stroke(ctx, INK.ring, width);
    ctx.stroke(path);
  }
  var others = [], otherRings = [];
  for (var k = 0; k < L.links.length; k++) if (!isMine[k]) others.push(k);
  var ringMine = Object.create(null);
  mine.rings.forEach(function (k) { ringMine[k] = true; });
  for (k = 0; k < L.rings.length; k++) if (!ringMine[k]) otherRings.push(k);
  var faint = picked ? PICKED_ALPHA : L.links.length > MANY_LINKS ? MANY_ALPHA : 1;
  paintLinks(others, faint);
  paintRings(otherRings, faint);
  paintLinks(mine.links, 1, OWN_LINK_WIDTH);
  paintRings(mine.rings, 1, OWN_RING_WIDTH);
  ctx.globalAlpha = 1;
  paintSymbols(ctx, L, px, py, inView);
  var e = data.entrance;
  if (e && e.lv === state.level) {
    var half = (0.5 - 1 / 20) * cell, ex = px(clamp(e.x, 0, grid.w - 1) + 0.5), ey = py(clamp(e.y, 0, grid.h - 1) + 0.5);
    stroke(ctx, e.placed ? INK.party : INK.partyUnplaced);
    ctx.strokeRect(ex - half, ey - half, 2 * half, 2 * half);
    var arrow = partyArrow(half, e.facing);
    if (arrow) {
      ctx.beginPath();
      ctx.moveTo(ex + arrow[0], ey + arrow[1]);
      ctx.lineTo(ex + arrow[2], ey + arrow[3]);
      ctx.lineTo(ex + arrow[4], ey + arrow[5]);
      ctx.closePath();
      if (e.placed) { ctx.fillStyle = INK.party[0]; ctx.fill(); }
      stroke(ctx, ['#000', 1, []]);
      ctx.stroke();
    }
  }
  // The corner marks of the squares with links to or from other levels.
  var badges = new Path2D();
  badgesOf(L).forEach(function (b) {
    if (!inView(b.x, b.y, b.x + 1, b.y + 1)) return;
    var s = Math.max(b.side * cell, 3);
    badges.moveTo(px(b.x + 1), py(b.y));
    badges.lineTo(px(b.x + 1) - s, py(b.y));
    badges.lineTo(px(b.x + 1), py(b.y) + s);
    badges.closePath();
  });
  if (selectedHere()) ctx.globalAlpha = 0.3;
  ctx.fillStyle = BADGE_FILL;
  ctx.fill(badges);
  // Their white edge, where they are large enough to show it.
  if (cell >= 20) {
    stroke(ctx, INK.badge);
    ctx.stroke(badges);
  }
  ctx.globalAlpha = 1;
}
// The corners of an arrow's head, in squares: its tip, then the two corners of its base.
function arrowHead(a) {
  var dx = a.x2 - a.x1, dy = a.y2 - a.y1, length = Math.sqrt(dx * dx + dy * dy) || 1;
  var ux = dx / length, uy = dy / length, w = a.head * 0.55;
  var bx = a.x2 - ux * a.head, by = a.y2 - uy * a.head;
  return [a.x2, a.y2, bx - uy * w, by + ux * w, bx + uy * w, by - ux * w];
}
// The squares with links to or from other levels of the kinds shown: { key, x, y, side }.
function badgesOf(L) {
  var asked = JSON.stringify(state.hidden);
  if (L.badges && L.badges.key === asked) return L.badges.list;
  var list = [];
  L.crossingKeys.forEach(function (key) {
    var c = L.crossing[key];
    if (crossingText(c.entries)) list.push({ key: key, x: c.x, y: c.y, side: badgeSide(L, key) });
  });
  L.badges = { key: asked, list: list };
  return list;
}
// Paints the symbols in the view: each a copy of a small picture of its look, size and facing,
// drawn once per zoom; symbols too small for a glyph or an outline are squares of their colour,
// those of one colour filled together.
function paintSymbols(ctx, L, px, py, inView) {
  var cell = state.cell, ratio = painter.ratio;
  if (sprites.cell !== cell || sprites.ratio !== ratio) sprites = { cell: cell, ratio: ratio, pictures: Object.create(null) };
  var dots = Object.create(null), offMap = new Path2D(), anyOff = false;
  for (var s = 0; s < L.objects.length; s++) {
    var i = L.objects[s], o = objects[i], r = L.r[s] * cell;
    if (state.hiddenKinds[o.kind] || !inView(L.x[s] - L.r[s], L.y[s] - L.r[s], L.x[s] + L.r[s], L.y[s] + L.r[s])) continue;
    var look = lookOf(o.kind), commented = o.why !== undefined, x = px(L.x[s]), y = py(L.y[s]);
    if (r < TINY_SYMBOL) {
      var colour = commented ? INK.commented[0] : look.colour;
      (dots[colour] = dots[colour] || new Path2D()).rect(x - r, y - r, 2 * r, 2 * r);
    } else {
      var picture = pictureOf(look, commented, r, o.pl);
      ctx.drawImage(picture, Math.round((x - picture.half) * ratio) / ratio, Math.round((y - picture.half) * ratio) / ratio,
        picture.width / ratio, picture.height / ratio);
    }
    if (!onOwnMap(state.level, o.x, o.y)) { symbolPath(offMap, look.shape, x, y, Math.max(r, 2)); anyOff = true; }
  }
  Object.keys(dots).forEach(function (colour) { ctx.fillStyle = colour; ctx.fill(dots[colour]); });
  if (anyOff) { stroke(ctx, INK.offMap); ctx.stroke(offMap); }
}
// The pixels of a symbol's radius below which it is painted as a square of its colour.
var TINY_SYMBOL = 2.5;
// The pictures of the symbols at the present zoom, by look, size and facing.
var sprites = { cell: 0, ratio: 0, pictures: null };
// The picture of a symbol of the look with radius r (pixels) and the facing or corner: a canvas in
// pixels of the screen, its middle "half" pixels of the view from its edges.
function pictureOf(look, commented, r, facing) {
  var key = look.glyph + look.shape + look.colour + '|' + commented + '|' + r + '|' + (facing || '');
  if (sprites.pictures[key]) return sprites.pictures[key];
  var ratio = sprites.ratio, half = Math.ceil(r * 1.6 + 3);
  var canvas = document.createElement('canvas');
  canvas.width = canvas.height = Math.ceil(2 * half * ratio);
  canvas.half = half;
  var ctx = canvas.getContext('2d');
  ctx.setTransform(ratio, 0, 0, ratio, half * ratio, half * ratio);
  var ink = symbolInk(look, commented, r), body = new Path2D();
  symbolPath(body, look.shape, 0, 0, r);
  if (ink.fill) { ctx.fillStyle = ink.fill; ctx.fill(body); }
  stroke(ctx, ink.ink, Math.min(ink.ink[1], Math.max(0.5, r / 2.5)));
  ctx.stroke(body);
  var d = facing && has(DIRECTIONS, facing) ? DIRECTIONS[facing] : null;
  if (d) {
    var length = Math.sqrt(d[0] * d[0] + d[1] * d[1]), ux = d[0] / length, uy = d[1] / length;
    stroke(ctx, ['#000', Math.max(1, Math.min(3, r / 6)), []]);
    ctx.beginPath();
    ctx.moveTo(ux * r, uy * r);
    ctx.lineTo(ux * r * 1.6, uy * r * 1.6);
    ctx.stroke();
  }
  // The glyph, where the symbol is large enough to read one.
  if (r >= 5) {
    ctx.fillStyle = ink.glyph;
    ctx.font = 'bold ' + (1.15 * r).toFixed(1) + 'px sans-serif';
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillText(look.glyph, 0, look.shape === 'triangle' ? 0.15 * r : 0);
  }
  sprites.pictures[key] = canvas;
  return canvas;
}
// The map row of the chosen problem on the shown level, as a box in squares, or null.
function problemRow() {
  var p = state.problem >= 0 ? problemPlaces[state.problem] : null;
  if (!p || p.level !== state.level || p.row === undefined) return null;
  var level = data.levels[p.level];
  return [level.ox, level.oy + p.row, level.ox + Math.max(1, level.w), level.oy + p.row + 1];
}

// Paints the marks: the selected square and object, the labels and the rulers.
function paintMarks() {
  var ctx = painter.marks, L = layoutOf(state.level), cell = state.cell, o = origin();
  function px(x) { return o[0] + x * cell; }
  function py(y) { return o[1] + y * cell; }
  ctx.setTransform(painter.ratio, 0, 0, painter.ratio, 0, 0);
  ctx.clearRect(0, 0, painter.width, painter.height);
  if (state.square) {
    var sx = clamp(state.square[0], 0, grid.w - 1), sy = clamp(state.square[1], 0, grid.h - 1);
    stroke(ctx, INK.selection);
    ctx.strokeRect(px(sx), py(sy), cell, cell);
  }
  if (selectedHere()) {
    var s = slotOf[state.selected];
    stroke(ctx, INK.chosen);
    ctx.beginPath();
    ctx.arc(px(L.x[s]), py(L.y[s]), (L.r[s] + L.sub[s] * 0.07) * cell, 0, 2 * Math.PI);
    ctx.stroke();
  }
  ctx.font = LABEL_FONT;
  ctx.textAlign = 'left';
  ctx.textBaseline = 'alphabetic';
  labelsOf(L, function (text) { return ctx.measureText(text).width; }).forEach(function (label) {
    var b = label.box, c = L.crossing[label.key];
    if (label.far) {
      stroke(ctx, INK.leader);
      ctx.beginPath();
      ctx.moveTo(px(c.x + 0.5), py(c.y + 0.5));
      ctx.lineTo(px((b[0] + b[2]) / 2), py((b[1] + b[3]) / 2));
      ctx.stroke();
    }
    var x = px(b[0]) + 2, y = py(b[1]) + LABEL_PX;
    stroke(ctx, ['#fff', 3, []]);
    ctx.lineJoin = 'round';
    ctx.strokeText(label.text, x, y);
    ctx.fillStyle = LABEL_COLOURS[label.mine ? 0 : 1];
    ctx.fillText(label.text, x, y);
  });
  paintRulers(ctx, px, py);
}
// The column numbers along the top and the row numbers along the left edge of the view, of the
// level's own map as the dump counts them, as many as the zoom leaves room for; the selected
// square's stand out.
function paintRulers(ctx, px, py) {
  var level = data.levels[state.level], cell = state.cell;
  var step = [1, 2, 5, 10, 20, 50, 100].filter(function (s) { return s * cell >= 28; })[0] || 200;
  var chosen = state.square ? dumpSquare(state.level, state.square[0], state.square[1]) : null;
  ctx.globalAlpha = 0.88;
  ctx.fillStyle = '#22222b';
  ctx.fillRect(0, 0, painter.width, RULER_H);
  ctx.fillRect(0, RULER_H, RULER_W, painter.height - RULER_H);
  ctx.globalAlpha = 1;
  ctx.font = '11px monospace';
  ctx.textBaseline = 'middle';
  function number(value, x, y, align, picked) {
    ctx.textAlign = align;
    ctx.fillStyle = picked ? '#ff7ad9' : '#fff';
    ctx.fillText(String(value), x, y);
  }
  ctx.save();
  ctx.beginPath();
  ctx.rect(RULER_W, 0, painter.width - RULER_W, RULER_H);
  ctx.clip();
  for (var c = 0; c < level.w; c++) {
    var x = px(level.ox + c + 0.5);
    if (x < RULER_W - 20 || x > painter.width + 20) continue;
    var picked = chosen && chosen[0] === c;
    if (c % step === 0 || picked) number(c, x, RULER_H / 2 + 1, 'center', picked);
  }
  ctx.restore();
  ctx.save();
  ctx.beginPath();
  ctx.rect(0, RULER_H, RULER_W, painter.height - RULER_H);
  ctx.clip();
  for (var r = 0; r < level.h; r++) {
    var y = py(level.oy + r + 0.5);
    if (y < RULER_H - 10 || y > painter.height + 10) continue;
    var mark = chosen && chosen[1] === r;
    if (r % step === 0 || mark) number(r, RULER_W - 3, y, 'right', mark);
  }
  ctx.restore();
}

// What the board paints, for checking it: the view's part free of the rulers and the pixels of a
// square; every symbol of the level (its object, kind, whether it is a comment); the arrows and
// destination rings (the objects they join, their kind, whether they are the selected object's
// own) and the opacity of the others; the arrow heads; the labels and the corner marks with their
// texts; the selected object, the selected square, the party's square and the chosen problem's
// map row. Every box is [left, top, right, bottom] in pixels of the window.
window.boardBoxes = function () {
  if (!data.levels.length) return null;
  var L = layoutOf(state.level), cell = state.cell, o = origin();
  var frame = wrap().getBoundingClientRect(), left = frame.left + wrap().clientLeft, top = frame.top + wrap().clientTop;
  function box(x0, y0, x1, y1) {
    return [left + o[0] + x0 * cell, top + o[1] + y0 * cell, left + o[0] + x1 * cell, top + o[1] + y1 * cell];
  }
  var symbols = [];
  L.objects.forEach(function (i, s) {
    if (state.hiddenKinds[objects[i].kind]) return;
    var r = L.r[s];
    symbols.push({ object: i, kind: objects[i].kind, commented: objects[i].why !== undefined,
      box: box(L.x[s] - r, L.y[s] - r, L.x[s] + r, L.y[s] + r) });
  });
  var picked = selectedHere(), mine = picked && L.own[state.selected] || { links: [], rings: [] };
  var links = [], heads = [];
  L.links.forEach(function (a, k) {
    if (state.hidden[a.how]) return;
    links.push({ from: a.from, to: a.to, how: a.how, mine: mine.links.indexOf(k) >= 0 });
    if (!a.head) return;
    var h = arrowHead(a);
    heads.push({ from: a.from, to: a.to, box: box(Math.min(h[0], h[2], h[4]), Math.min(h[1], h[3], h[5]),
      Math.max(h[0], h[2], h[4]), Math.max(h[1], h[3], h[5])) });
  });
  var rings = state.hidden.destination ? [] : L.rings.map(function (g, k) { return { from: g.from, mine: mine.rings.indexOf(k) >= 0 }; });
  var ctx = painter.marks;
  ctx.font = LABEL_FONT;
  var labels = labelsOf(L, function (text) { return ctx.measureText(text).width; }).map(function (label) {
    return { label: label.key, text: label.text, mine: label.mine, box: box(label.box[0], label.box[1], label.box[2], label.box[3]) };
  });
  var row = problemRow(), e = data.entrance;
  var sx = state.square && clamp(state.square[0], 0, grid.w - 1), sy = state.square && clamp(state.square[1], 0, grid.h - 1);
  return { cell: cell, view: [left + RULER_W, top + RULER_H, left + painter.width, top + painter.height],
    symbols: symbols, links: links, rings: rings, faint: picked ? PICKED_ALPHA : L.links.length > MANY_LINKS ? MANY_ALPHA : 1,
    heads: heads, labels: labels,
    badges: badgesOf(L).map(function (b) {
      return { badge: b.key, text: crossingText(L.crossing[b.key].entries), box: box(b.x, b.y, b.x + 1, b.y + 1) };
    }),
    selected: picked ? state.selected : -1,
    selection: state.square ? box(sx, sy, sx + 1, sy + 1) : null,
    party: e && e.lv === state.level ? box(clamp(e.x, 0, grid.w - 1), clamp(e.y, 0, grid.h - 1),
      clamp(e.x, 0, grid.w - 1) + 1, clamp(e.y, 0, grid.h - 1) + 1) : null,
    problemRow: row ? box(row[0], row[1], row[2], row[3]) : null };
};

// ---- the viewport ----
function wrap() { return byId('board-wrap'); }
// The room around the board, in pixels: left of it and above it the middle of the view's part
// free of the rulers, right of it and below it the rest of the view, so that any square can stand
// in that middle.
var pad = [0, 0];
// The middle of the view's part that the rulers leave free, in pixels of the view.
function middle() {
  return [Math.round(RULER_W + (painter.width - RULER_W) / 2), Math.round(RULER_H + (painter.height - RULER_H) / 2)];
}
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
  repaint(true);
}
function centreOn(gx, gy) { putAt(gx, gy, pad[0], pad[1]); }
// Sizes the scrolling area's board for the zoom; the canvases paint it in the next frame.
function applyScale() {
  pad = middle();
  var board = byId('board');
  board.style.width = ((grid.w + 2) * state.cell + painter.width).toFixed(1) + 'px';
  board.style.height = ((grid.h + 2) * state.cell + painter.height).toFixed(1) + 'px';
  repaint(true);
}
// Zooms to the cell size, keeping the point of the common grid at the pixel of the view where it is.
function zoomTo(cell, px, py) {
  var at = gridAt(px, py);
  state.cell = clamp(cell, MIN_CELL, MAX_CELL);
  applyScale();
  putAt(at[0], at[1], px, py);
}
// The selected square's centre in pixels of the view, or null when it is not in the view's part
// free of the rulers.
function selectionInView() {
  if (!state.square) return null;
  var w = wrap();
  var px = (clamp(state.square[0], 0, grid.w - 1) + 1.5) * state.cell + pad[0] - w.scrollLeft;
  var py = (clamp(state.square[1], 0, grid.h - 1) + 1.5) * state.cell + pad[1] - w.scrollTop;
  return px >= RULER_W && py >= RULER_H && px <= painter.width && py <= painter.height ? [px, py] : null;
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
  zoomTo(state.cell * factor, pad[0], pad[1]);
}
// The cell size that fits the shown level's own map into the view.
function fittingCell() {
  var level = data.levels[state.level];
  var cell = Math.min((painter.width - RULER_W) / (level.w + 1.5), (painter.height - RULER_H) / (level.h + 1.5));
  return clamp(Math.floor(cell * 4) / 4, MIN_CELL, MAX_CELL);
}
// Fits the shown level's own map into the view.
function fit() {
  var level = data.levels[state.level];
  state.cell = fittingCell();
  applyScale();
  centreOn(level.ox + level.w / 2, level.oy + level.h / 2);
}
// Scrolls the selected square into the view: centred (how 'centre'), or just enough to see it
// with a margin (how 'keep').
function showSquareInView(how) {
  if (!state.square || !how) return;
  var x = clamp(state.square[0], 0, grid.w - 1) + 0.5, y = clamp(state.square[1], 0, grid.h - 1) + 0.5;
  if (how === 'centre' || !selectionInView()) { centreOn(x, y); return; }
  var w = wrap(), margin = Math.min(2 * state.cell, painter.width / 4);
  var px = (x + 1) * state.cell + pad[0] - w.scrollLeft, py = (y + 1) * state.cell + pad[1] - w.scrollTop;
  if (px < RULER_W + margin) w.scrollLeft -= RULER_W + margin - px;
  if (px > painter.width - margin) w.scrollLeft += px - (painter.width - margin);
  if (py < RULER_H + margin) w.scrollTop -= RULER_H + margin - py;
  if (py > painter.height - margin) w.scrollTop += py - (painter.height - margin);
  repaint(true);
}

// ---- selecting ----
// Selects object i (or no object, -1) and the square, shows them in the view as 'how' says
// ('centre', 'keep' or nothing), and writes the selection into the address.
function select(i, square, how) {
  var old = state.selected;
  state.selected = i;
  state.square = square;
  if (data.levels.length) {
    // The level is painted again when the selected object's links change; a square alone is a mark.
    repaint(old !== i);
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
    var here = layoutOf(state.level).squares[state.square[0] + ',' + state.square[1]] || [];
    text = placeText(state.level, state.square[0], state.square[1]) + ': ' + plural(here.length, 'object');
  }
  byId('announce').textContent = text;
}
// Shows or hides the links of one kind.
function showLinkKind(how, shown) {
  state.hidden[how] = !shown;
  repaint(true);
}
// Shows or hides the symbols of one kind.
function showKind(kind, shown) {
  state.hiddenKinds[kind] = !shown;
  repaint(true);
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

// The objects held on the shown level, counted in the section's summary and listed while it is
// open (a large dungeon holds thousands on a level).
function buildHeldList() {
  var n = state.level;
  var list = byId('held-list');
  list.textContent = '';
  byId('held-summary').textContent = 'Inside other objects on this level: ' + heldOn[n].length;
  if (!byId('held-section').open) return;
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
// Each object's [dump line, property statements], parsed the first time they are asked for.
var texts = null;
function textsOf(i) {
  if (!texts) texts = JSON.parse(byId('dungeon-texts').textContent);
  return texts[i] || ['', ''];
}
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
  var texts = textsOf(i);
  if (texts[1]) { info.appendChild(element('div', null, 'properties:')); info.appendChild(element('pre', null, texts[1])); }
  info.appendChild(element('div', null, data.dump + ' line ' + o.ln + ':'));
  info.appendChild(element('pre', null, texts[0]));
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
  var here = layoutOf(n).squares[key] || [];
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
  var crossing = layoutOf(n).crossing[key];
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
  if (changed) { state.selected = -1; state.square = null; state.hover = null; }
  state.level = n;
  if (changed) buildHeldList();
  Array.prototype.forEach.call(byId('level-tabs').children, function (b) {
    var current = Number(b.getAttribute('data-level')) === n;
    b.classList.toggle('current', current);
    b.setAttribute('aria-selected', current ? 'true' : 'false');
    b.tabIndex = current ? 0 : -1;
  });
  var level = data.levels[n];
  byId('level-info').textContent = 'Level ' + n + ': ' + plural(onLevel[n].length, 'object') + ', ' +
    plural(layoutOf(n).links.length, 'link') + (level.written ? '' : ' (the script does not build this level)') + '.';
  // A level opens fitted to the view.
  if (changed) { fit(); buildTable(); writeAddress(); }
  repaint(true);
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
  var here = layoutOf(state.level).squares[state.square[0] + ',' + state.square[1]] || [];
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
// The objects of a dump line, indexed the first time a problem asks.
var byLine = null;
function objectsOnLine(line) {
  if (!byLine) {
    byLine = Object.create(null);
    objects.forEach(function (o, i) { (byLine[o.ln] = byLine[o.ln] || []).push(i); });
  }
  return byLine[line] || [];
}
function placeOfProblem(p) {
  if (p.list) return null;
  var here = objectsOnLine(p.ln).filter(function (i) { return rootHolder(i) >= 0; });
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
  if (data.levels.length) repaint(true);
}
function showProblems() {
  var heading = byId('problem-heading');
  heading.scrollIntoView({ block: 'nearest' });
  heading.focus();
}

// ---- the board's events ----
function boardEvents() {
  var w = wrap();
  // The pixel of the view under the pointer.
  function pixelOf(event) {
    var box = w.getBoundingClientRect();
    return [event.clientX - box.left - w.clientLeft, event.clientY - box.top - w.clientTop];
  }
  function squareOf(at) { return [Math.floor(at[0]), Math.floor(at[1])]; }
  function onGrid(square) { return square[0] >= 0 && square[1] >= 0 && square[0] < grid.w && square[1] < grid.h; }
  // The object whose symbol is at the point of the common grid (in squares), or -1.
  function objectAt(at) {
    var L = layoutOf(state.level), here = L.squares[squareOf(at).join(',')] || [];
    var found = -1, nearest = Infinity;
    here.forEach(function (i) {
      if (state.hiddenKinds[objects[i].kind]) return;
      var s = slotOf[i], dx = at[0] - L.x[s], dy = at[1] - L.y[s], d = dx * dx + dy * dy;
      var reach = L.r[s] * 1.2 + 1.5 / state.cell;
      if (d <= reach * reach && d < nearest) { found = i; nearest = d; }
    });
    return found;
  }
  // The pointers pressed on the board: one pans it, two pinch it.
  var pointers = Object.create(null), drag = null, pinch = null, moved = false;
  function pressed() { return Object.keys(pointers).map(function (id) { return pointers[id]; }); }
  function startPinch() {
    var p = pressed();
    if (p.length < 2) { pinch = null; return; }
    var mid = [(p[0][0] + p[1][0]) / 2, (p[0][1] + p[1][1]) / 2];
    pinch = { distance: Math.hypot(p[0][0] - p[1][0], p[0][1] - p[1][1]) || 1, cell: state.cell, at: gridAt(mid[0], mid[1]) };
    drag = null;
  }
  w.addEventListener('pointerdown', function (event) {
    if (event.pointerType === 'mouse' && event.button !== 0) return;
    pointers[event.pointerId] = pixelOf(event);
    try { w.setPointerCapture(event.pointerId); } catch (error) { /* the pointer is gone */ }
    moved = false;
    if (pressed().length > 1) startPinch();
    else drag = { x: event.clientX, y: event.clientY, left: w.scrollLeft, top: w.scrollTop };
  });
  w.addEventListener('pointermove', function (event) {
    var at = pixelOf(event);
    if (event.pointerId in pointers) pointers[event.pointerId] = at;
    if (pinch) {
      var p = pressed(), mid = [(p[0][0] + p[1][0]) / 2, (p[0][1] + p[1][1]) / 2];
      state.cell = clamp(pinch.cell * Math.hypot(p[0][0] - p[1][0], p[0][1] - p[1][1]) / pinch.distance, MIN_CELL, MAX_CELL);
      applyScale();
      putAt(pinch.at[0], pinch.at[1], mid[0], mid[1]);
      moved = true;
      return;
    }
    if (drag) {
      var dx = event.clientX - drag.x, dy = event.clientY - drag.y;
      if (!moved && Math.abs(dx) + Math.abs(dy) > 4) { moved = true; w.classList.add('dragging'); }
      if (moved) { w.scrollLeft = drag.left - dx; w.scrollTop = drag.top - dy; return; }
    }
    hover(at);
  });
  function release(event) {
    delete pointers[event.pointerId];
    if (pinch) startPinch();
    if (pressed().length) return;
    drag = null;
    w.classList.remove('dragging');
    // The click that ends a drag comes after this; the next one selects again.
    setTimeout(function () { moved = false; }, 0);
  }
  w.addEventListener('pointerup', release);
  w.addEventListener('pointercancel', release);
  // The pointer over a symbol shows its object's details, over a square with links to other
  // levels their labels; the readout names the square.
  var hovered = -1;
  function hover(pixel) {
    var at = gridAt(pixel[0], pixel[1]), square = squareOf(at);
    var inside = onGrid(square) && pixel[0] >= RULER_W && pixel[1] >= RULER_H;
    byId('readout').textContent = inside ? placeText(state.level, square[0], square[1]) : '';
    var i = inside ? objectAt(at) : -1;
    w.style.cursor = i >= 0 ? 'pointer' : '';
    if (i !== hovered) {
      hovered = i;
      if (i >= 0) showObject(i); else showSelection();
    }
    var key = inside ? square.join(',') : null;
    if (key && !layoutOf(state.level).crossing[key] && i < 0) key = null;
    if (key !== state.hover) { state.hover = key; repaint(false); }
  }
  w.addEventListener('pointerleave', function () {
    byId('readout').textContent = '';
    if (hovered >= 0) { hovered = -1; showSelection(); }
    if (state.hover) { state.hover = null; repaint(false); }
  });
  w.addEventListener('click', function (event) {
    if (moved) return;
    var pixel = pixelOf(event), at = gridAt(pixel[0], pixel[1]), square = squareOf(at);
    if (pixel[0] < RULER_W || pixel[1] < RULER_H) return;
    var i = onGrid(square) ? objectAt(at) : -1;
    if (i >= 0) select(i, square, 'keep');
    else if (onGrid(square)) select(-1, square, 'keep');
    w.focus({ preventScroll: true });
  });
  // The wheel (and a pinch on a touchpad, which arrives as a wheel with the control key) zooms
  // around the pointer.
  w.addEventListener('wheel', function (event) {
    event.preventDefault();
    var at = pixelOf(event);
    var delta = event.deltaMode === 1 ? event.deltaY * 20 : event.deltaY;
    zoomTo(state.cell * Math.exp(-delta * (event.ctrlKey ? 0.01 : 0.002)), at[0], at[1]);
  }, { passive: false });
  w.addEventListener('scroll', function () { repaint(true); });
  w.addEventListener('keydown', function (event) {
    var moves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    var handled = true;
    if (has(moves, event.key)) moveSquare(moves[event.key][0], moves[event.key][1]);
    else if (event.key === 'Enter') selectOnSquare();
    else if (event.key === 'Escape') select(-1, null);
    else if (event.key === '+' || event.key === '=') zoomStep(1);
    else if (event.key === '-' || event.key === '_') zoomStep(-1);
    else if (event.key === 'f' || event.key === 'F' || event.key === '0') fit();
    else if (event.key === 'PageUp') showLevel(state.level - 1);
    else if (event.key === 'PageDown') showLevel(state.level + 1);
    else handled = false;
    if (handled) event.preventDefault();
  });
  // A view of another size keeps the point in its middle there.
  if (window.ResizeObserver) {
    new ResizeObserver(function () {
      if (w.clientWidth === painter.width && w.clientHeight === painter.height) return;
      var at = gridAt(pad[0], pad[1]);
      measureView();
      applyScale();
      centreOn(at[0], at[1]);
      paintNow();
    }).observe(w);
  }
  byId('zoom-in').addEventListener('click', function () { zoomStep(1); });
  byId('zoom-out').addEventListener('click', function () { zoomStep(-1); });
  byId('fit').addEventListener('click', fit);
  LINK_KINDS.forEach(function (l) {
    byId('show-' + l[0]).addEventListener('change', function (event) { showLinkKind(l[0], event.target.checked); });
  });
  byId('show-neighbours').addEventListener('change', function (event) {
    state.neighbours = event.target.checked;
    repaint(true);
  });
  byId('table-section').addEventListener('toggle', buildTable);
  byId('held-section').addEventListener('toggle', buildHeldList);
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
  measureView();
  boardEvents();
  searchEvents();
  state.level = -1;
  var boxes = addressValues().boxes !== undefined;
  readAddress(true);
  // The first level is painted before the page counts as loaded; the others are laid out while
  // the page waits for the user, so that switching to one paints at once.
  paintNow();
  layOutWhenIdle(0);
  if (boxes) byId('board-boxes').textContent = JSON.stringify(window.boardBoxes());
} else {
  byId('board-wrap').textContent = 'The dump has no level.';
}
document.body.setAttribute('data-ready', 'yes');
})();
