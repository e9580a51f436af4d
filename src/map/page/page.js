// The map page's script: draws a converted dungeon from the JSON object of the element
// "dungeon-data", which the converter writes with these keys:
//   dump       the dump's file name as the user gave it
//   gw, gh     width and height, in squares, of the common grid that every level is drawn on
//   kinds      the names of the object kinds, in the order the header and the legend list them
//   levels     one per level block of the dump, in order (the index is the level's number):
//     light    its light value
//     ox, oy   the column and row of its top left square on the common grid
//     w, h     its width and height in squares
//     written  false when the script does not build the level (its block breaks a rule)
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
//     dest     a teleporter's destination, [level, x, y]
//     holds    the identifiers it names as carried or held
//   champions  the champion variables the definitions assign
//   party      the party's members in slot order
//   entrance   the party's starting place, or null: lv, x, y, facing, ln (its dump line) and
//              placed (false when the script does not place the party there)
//   problems   the errors and warnings of the run in the order printed: ln (its line), col (its
//              column, absent when the message is about the whole line), error (false for a
//              warning), name (the message's name), msg (what is wrong), text (the message exactly
//              as the run printed it, its name included), list (true when the line is one of the
//              object name list, not of the dump)
//   summary    the closing count of the messages as the run printed it; empty when there is none
// Every text of the data reaches the page as text (textContent, or the value of an attribute the
// script names), never as markup.
//
// The address may say, after "#" and joined by "&": level=N opens level N; select=ID selects the
// object ID; find=TEXT searches for TEXT and selects the first match; bench times the redraws
// and writes the figures into an element "bench-result".
(function () {
'use strict';
var SVG = 'http://www.w3.org/2000/svg';
var data = JSON.parse(document.getElementById('dungeon-data').textContent);
var objects = data.objects;

// The look of each kind the script knows: glyph, shape and colour. A kind of the data that is not
// here gets UNKNOWN_LOOK.
var LOOKS = {
  'door': ['D', 'square', '#8b5a2b'], 'door frame': ['F', 'frame', '#a0522d'],
  'door button': ['b', 'circle', '#e67e22'], 'lever or switch': ['L', 'circle', '#2e86c1'],
  'trigger': ['T', 'diamond', '#16a085'], 'teleporter': ['@', 'circle', '#8e44ad'],
  'pit': ['O', 'circle', '#111111'], 'shooter': ['S', 'triangle', '#c0392b'],
  'floor damager': ['X', 'diamond', '#d35400'], 'generator': ['G', 'square', '#27ae60'],
  'creature': ['C', 'circle', '#e74c3c'], 'holder': ['H', 'square', '#b7950b'],
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
// The value of NAME in the address after "#" (NAME=VALUE, joined by "&"), or null.
function hashValue(name) {
  var parts = location.hash.replace(/^#/, '').split('&');
  for (var k = 0; k < parts.length; k++) {
    var equals = parts[k].indexOf('=');
    if ((equals < 0 ? parts[k] : parts[k].slice(0, equals)) !== name) continue;
    var value = equals < 0 ? '' : parts[k].slice(equals + 1);
    try { return decodeURIComponent(value); } catch (error) { return value; }
  }
  return null;
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

var state = { level: 0, cell: 24, selected: -1, square: null, hidden: {} };
var grid = { w: data.gw, h: data.gh };
state.cell = Math.max(1, Math.min(72, Math.floor(640 / Math.max(grid.w, grid.h, 1))));
function maxCell() { return Math.max(1, Math.floor(8192 / Math.max(grid.w, grid.h, 1))); }
// What drawLevel drew, so that a selection or a switch changes only what it concerns.
var view = null;

// ---- header ----
function buildSummary() {
  var summary = byId('summary');
  var heading = byId('title');
  heading.textContent = 'Map of ' + data.dump;
  document.title = 'Map of ' + data.dump;
  function list(title, lines) {
    var dl = element('dl');
    dl.appendChild(element('dt', null, title));
    lines.forEach(function (line) { dl.appendChild(element('dd', null, line)); });
    summary.appendChild(dl);
  }
  var levelLines = data.levels.map(function (l, n) {
    return 'level ' + n + ': ' + l.w + ' \u00d7 ' + l.h + ' at column ' + l.ox + ', row ' + l.oy + ', light ' +
      l.light + (l.written ? '' : ' (not built: its block breaks a rule)');
  });
  levelLines.unshift('common grid ' + grid.w + ' \u00d7 ' + grid.h);
  list(plural(data.levels.length, 'level'), levelLines);
  var counts = Object.create(null);
  var commented = 0, held = 0;
  objects.forEach(function (o) {
    counts[o.kind] = (counts[o.kind] || 0) + 1;
    if (o.why !== undefined) commented++;
    if (o.lv < 0) held++;
  });
  var kindLines = [kinds.filter(function (k) { return counts[k]; })
    .map(function (k) { return k + ' ' + counts[k]; }).join(', ')];
  kindLines.push('written as comments: ' + commented);
  kindLines.push('inside other objects: ' + held);
  list(plural(objects.length, 'object'), kindLines);
  var party = [];
  party.push('champions: ' + (data.champions.length ? data.champions.join(', ') : 'none'));
  party.push('party: ' + (data.party.length ? data.party.join(', ') : 'none'));
  var e = data.entrance;
  party.push(e ? 'starts on level ' + e.lv + ', column ' + e.x + ', row ' + e.y + ', facing ' + e.facing +
    (e.placed ? '' : ' (not placed: see the problems)') : 'no entrance: the party is not placed');
  list('Champions and party', party);
  var errors = data.problems.filter(function (p) { return p.error; }).length;
  list('Problems', [plural(errors, 'error') + ', ' + plural(data.problems.length - errors, 'warning')]);
}

// ---- level tabs ----
function buildTabs() {
  var tabs = byId('level-tabs');
  data.levels.forEach(function (level, n) {
    var b = element('button', level.written ? '' : 'unbuilt', 'Level ' + n + ' (' + plural(onLevel[n].length, 'object') + ')');
    b.setAttribute('data-level', n);
    b.addEventListener('click', function () { showLevel(n); });
    tabs.appendChild(b);
  });
}

// ---- legend ----
function legendSymbol(kind, commented) {
  var s = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22' });
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
  legend.appendChild(element('h4', null, 'Squares'));
  Object.keys(terrainColour).forEach(function (c) {
    var s = shape('svg', { width: 22, height: 16 });
    s.appendChild(shape('rect', { x: 1, y: 1, width: 20, height: 14, fill: terrainColour[c], stroke: '#555' }));
    row(s, '"' + c + '"' + (c === '0' ? ' (also the fill outside every level\u2019s map)' : ''));
  });
  var outline = shape('svg', { width: 22, height: 16 });
  outline.appendChild(shape('rect', { x: 2, y: 2, width: 18, height: 12, 'class': 'outline' }));
  row(outline, 'the level\u2019s own map (outside it: dimmed)');
  legend.appendChild(element('h4', null, 'Objects'));
  kinds.forEach(function (k) { row(legendSymbol(k, false), k).setAttribute('data-kind', k); });
  row(legendSymbol('other', true), 'written as a comment (hollow, grey)');
  var tick = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22' });
  tick.appendChild(symbolShape('other', 6, false));
  tick.appendChild(shape('line', { x1: 0, y1: -6, x2: 0, y2: -10, stroke: '#000', 'stroke-width': 2 }));
  row(tick, 'tick: its facing or corner');
  legend.appendChild(element('h4', null, 'Links'));
  LINK_KINDS.forEach(function (l) {
    var s = shape('svg', { width: 22, height: 12 });
    s.appendChild(shape('line', { x1: 1, y1: 6, x2: 21, y2: 6, 'class': 'link link-' + l[0] }));
    row(s, l[1]);
  });
  row(element('span', 'link-sample', '\u2192 level 1 \u00b7 \u2190 level 2'),
    'links of a square to and from other levels, one label a square');
  var badge = shape('svg', { width: 22, height: 16 });
  badge.appendChild(shape('rect', { x: 1, y: 1, width: 14, height: 14, fill: '#ece6d6', stroke: '#555' }));
  badge.appendChild(shape('polygon', { points: '15,1 9,1 15,7', 'class': 'link-badge' }));
  row(badge, 'the same where the label finds no room: select the square to list them');
  var picked = shape('svg', { width: 22, height: 16 });
  picked.appendChild(shape('line', { x1: 1, y1: 4, x2: 21, y2: 4, 'class': 'link link-target mine' }));
  picked.appendChild(shape('line', { x1: 1, y1: 12, x2: 21, y2: 12, 'class': 'link link-target', opacity: 0.12 }));
  row(picked, 'a selected object’s own links stand out, the others are dimmed');
  var p = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22' });
  p.appendChild(partyShape(9, 'NORTH', true));
  row(p, 'the party\u2019s starting place and facing');
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
function drawTerrain(level) {
  var cs = state.cell;
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
  var left = Math.max(0, level.ox), top = Math.max(0, level.oy);
  var right = Math.min(grid.w, level.ox + level.w), bottom = Math.min(grid.h, level.oy + level.h);
  ctx.fillRect(0, 0, grid.w * cs, top * cs);
  ctx.fillRect(0, bottom * cs, grid.w * cs, Math.max(0, grid.h - bottom) * cs);
  ctx.fillRect(0, top * cs, left * cs, Math.max(0, bottom - top) * cs);
  ctx.fillRect(right * cs, top * cs, Math.max(0, grid.w - right) * cs, Math.max(0, bottom - top) * cs);
  if (cs >= 8) {
    ctx.strokeStyle = 'rgba(0,0,0,0.12)';
    ctx.lineWidth = 1;
    ctx.beginPath();
    for (var gx = 0; gx <= grid.w; gx++) { ctx.moveTo(gx * cs + 0.5, 0); ctx.lineTo(gx * cs + 0.5, grid.h * cs); }
    for (var gy = 0; gy <= grid.h; gy++) { ctx.moveTo(0, gy * cs + 0.5); ctx.lineTo(grid.w * cs, gy * cs + 0.5); }
    ctx.stroke();
  }
}

function markerDefinitions(svg) {
  var defs = shape('defs', {});
  [['target', '#1565c0'], ['door', '#e67e22'], ['destination', '#8e44ad']].forEach(function (m) {
    var marker = shape('marker', { id: 'arrow-' + m[0], viewBox: '0 0 10 10', refX: 9, refY: 5, markerWidth: 7,
      markerHeight: 7, orient: 'auto-start-reverse' });
    marker.appendChild(shape('path', { d: 'M0,0 L10,5 L0,10 z', fill: m[1] }));
    defs.appendChild(marker);
  });
  svg.appendChild(defs);
}

// Draws the shown level whole: terrain, symbols, the party, links and labels. Selecting and the
// link switches change only their own parts of it afterwards.
function drawLevel() {
  var n = state.level;
  var level = data.levels[n];
  var cs = state.cell;
  drawTerrain(level);
  var svg = byId('overlay');
  while (svg.firstChild) svg.removeChild(svg.firstChild);
  svg.setAttribute('width', grid.w * cs);
  svg.setAttribute('height', grid.h * cs);
  svg.setAttribute('viewBox', '0 0 ' + grid.w * cs + ' ' + grid.h * cs);
  markerDefinitions(svg);
  svg.appendChild(shape('rect', { x: level.ox * cs, y: level.oy * cs, width: level.w * cs, height: level.h * cs, 'class': 'outline' }));
  view = {
    // Per object of the level: its symbol's centre, radius and element.
    positions: [], radius: [], symbols: [],
    // Per object: the lines and destination marks of its own links, and the labels that list them.
    marks: [], labelMarks: [],
    // Per square "x,y": the objects on it, and its links to and from other levels.
    squares: Object.create(null), crossing: Object.create(null),
    // The layers: links, copies of the selected object's own links above them (the links layer is
    // dimmed as a whole while an object is selected), symbols, labels and copies of its own labels.
    links: shape('g', { id: 'links' }), ownLinks: shape('g', { id: 'own-links' }), symbolLayer: shape('g', { id: 'symbols' }),
    labels: shape('g', { id: 'labels' }), ownLabels: shape('g', { id: 'own-labels' }),
    selection: shape('rect', { width: cs, height: cs, 'class': 'selection' })
  };
  // The layers are filled before they join the board: each symbol a copy of the first one drawn
  // of its look and size.
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
  var squares = view.squares;
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    var key = o.x + ',' + o.y;
    (squares[key] = squares[key] || []).push(i);
  });
  Object.keys(squares).forEach(function (key) {
    var list = squares[key];
    var k = Math.ceil(Math.sqrt(list.length));
    var sub = cs / k;
    list.forEach(function (i, j) {
      var o = objects[i];
      var cx = o.x * cs + (j % k + 0.5) * sub, cy = o.y * cs + (Math.floor(j / k) + 0.5) * sub;
      var r = Math.max(1, sub * 0.36);
      view.positions[i] = [cx, cy];
      view.radius[i] = r;
      var g = symbolFor(o, r);
      g.setAttribute('data-object', i);
      g.setAttribute('transform', 'translate(' + cx.toFixed(1) + ',' + cy.toFixed(1) + ')');
      view.symbolLayer.appendChild(g);
      view.symbols[i] = g;
    });
  });

  drawLinks(n);
  LINK_KINDS.forEach(function (l) { svg.classList.toggle('hide-' + l[0], !!state.hidden[l[0]]); });
  drawLabels();
  svg.appendChild(view.links);
  svg.appendChild(view.ownLinks);
  svg.appendChild(view.symbolLayer);
  if (data.entrance && data.entrance.lv === n) {
    var e = data.entrance;
    var party = partyShape(cs / 2 - 1, e.facing, e.placed);
    party.setAttribute('id', 'party-marker');
    party.setAttribute('transform', 'translate(' + ((e.x + 0.5) * cs).toFixed(1) + ',' + ((e.y + 0.5) * cs).toFixed(1) + ')');
    svg.appendChild(party);
  }
  svg.appendChild(view.labels);
  svg.appendChild(view.ownLabels);
  svg.appendChild(view.selection);
  markSelection(state.selected, true);
  dimOthers();
  placeSelection();
  byId('level-info').textContent = 'level ' + n + ': ' + plural(onLevel[n].length, 'object') +
    (level.written ? '' : ' (the script does not build this level)');
}

// Draws the links between objects of the shown level as lines, and gathers per square the links
// to and from other levels (and the names that reach no object) for its label.
function drawLinks(n) {
  var cs = state.cell;
  var positions = view.positions;
  function mark(i, e) { if (i >= 0) (view.marks[i] = view.marks[i] || []).push(e); }
  function crossing(x, y, entry) {
    var key = x + ',' + y;
    var c = view.crossing[key] = view.crossing[key] || { x: x, y: y, entries: [] };
    c.entries.push(entry);
  }
  function line(i, to, toRadius, how, j) {
    var from = positions[i];
    var dx = to[0] - from[0], dy = to[1] - from[1];
    var length = Math.sqrt(dx * dx + dy * dy) || 1;
    var x2 = to[0] - dx / length * toRadius, y2 = to[1] - dy / length * toRadius;
    var e = shape('line', { x1: from[0].toFixed(1), y1: from[1].toFixed(1), x2: x2.toFixed(1), y2: y2.toFixed(1),
      'class': 'link link-' + how, 'marker-end': 'url(#arrow-' + how + ')', 'data-from': i });
    if (j >= 0) e.setAttribute('data-to', j);
    view.links.appendChild(e);
    mark(i, e);
    if (j !== i) mark(j, e);
  }
  function destinationMark(t, x, y) {
    var e = shape('circle', { cx: (x + 0.5) * cs, cy: (y + 0.5) * cs, r: cs * 0.42, 'class': 'destination-mark', 'data-from': t });
    view.links.appendChild(e);
    mark(t, e);
    return [(x + 0.5) * cs, (y + 0.5) * cs];
  }
  function reference(i, ref, how) {
    var o = objects[i], t = ref[1];
    if (t >= 0 && objects[t].lv === n && positions[t]) line(i, positions[t], view.radius[t], how, t);
    else crossing(o.x, o.y, { how: how, out: true, level: t >= 0 ? objects[t].lv : null, obj: i, other: t, name: ref[0] });
  }
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    (o.tg || []).forEach(function (t) { reference(i, t, 'target'); });
    if (o.door) reference(i, o.door, 'door');
    if (o.dest) {
      if (o.dest[0] === n) line(i, destinationMark(i, o.dest[1], o.dest[2]), cs * 0.42, 'destination', -1);
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

// One label per square for its links to and from other levels, placed beside the square where
// it overlaps no other label; where none of four places is free, a corner mark instead (the
// square's details list the links). Placed labels are kept in buckets of the board, so that each
// label is checked against its neighbours only.
function drawLabels() {
  var layer = view.labels;
  while (layer.firstChild) layer.removeChild(layer.firstChild);
  while (view.ownLabels.firstChild) view.ownLabels.removeChild(view.ownLabels.firstChild);
  view.labelMarks = [];
  var cs = state.cell, width = grid.w * cs, height = grid.h * cs;
  var BUCKET = 64, LINE = 13;
  var buckets = Object.create(null);
  function eachBucket(box, f) {
    for (var bx = Math.floor(box[0] / BUCKET); bx <= Math.floor(box[2] / BUCKET); bx++)
      for (var by = Math.floor(box[1] / BUCKET); by <= Math.floor(box[3] / BUCKET); by++)
        if (f(bx + ',' + by)) return true;
    return false;
  }
  function free(box) {
    if (box[0] < 0 || box[1] < 0 || box[2] > width || box[3] > height) return false;
    return !eachBucket(box, function (key) {
      return (buckets[key] || []).some(function (b) { return box[0] < b[2] && b[0] < box[2] && box[1] < b[3] && b[1] < box[3]; });
    });
  }
  function take(box) { eachBucket(box, function (key) { (buckets[key] = buckets[key] || []).push(box); return false; }); }
  Object.keys(view.crossing).forEach(function (key) {
    var c = view.crossing[key];
    var text = crossingText(c.entries);
    if (!text) return;
    var w = text.length * 6.4 + 4;
    var left = c.x * cs, top = c.y * cs, middle = top + cs / 2 - LINE / 2;
    var places = [[left + cs + 1, middle], [left - 1 - w, middle], [left + cs / 2 - w / 2, top - LINE], [left + cs / 2 - w / 2, top + cs]];
    var e = null;
    for (var k = 0; k < places.length && !e; k++) {
      var box = [places[k][0], places[k][1], places[k][0] + w, places[k][1] + LINE];
      if (!free(box)) continue;
      take(box);
      e = shape('text', { x: (box[0] + 2).toFixed(1), y: (box[1] + LINE - 3).toFixed(1), 'class': 'link-label' });
      e.textContent = text;
    }
    if (!e) {
      var s = Math.max(3, cs * 0.35);
      e = shape('polygon', { points: [left + cs, top, left + cs - s, top, left + cs, top + s].join(' '), 'class': 'link-badge' });
      var title = shape('title', {});
      title.textContent = text;
      e.appendChild(title);
    }
    e.setAttribute('data-square', key);
    layer.appendChild(e);
    var marked = {};
    c.entries.forEach(function (entry) {
      if (entry.obj < 0 || marked[entry.obj]) return;
      marked[entry.obj] = true;
      (view.labelMarks[entry.obj] = view.labelMarks[entry.obj] || []).push(e);
    });
  });
  markLabels(state.selected, true);
  dimOthers();
}

// Dims the links and labels, under the copies of the selected object's own, when it is on the
// shown level: one class on each layer, whatever the number of links.
function dimOthers() {
  var picked = state.selected >= 0 && !!view.symbols[state.selected];
  view.links.classList.toggle('picked', picked);
  view.labels.classList.toggle('picked', picked);
}
// Marks the elements as the selected object's own (on) and puts copies of them into the layer,
// or takes the marks and the copies away (off). The copies name no object or square.
function markOwn(elements, layer, on) {
  if (!on) while (layer.firstChild) layer.removeChild(layer.firstChild);
  (elements || []).forEach(function (e) {
    e.classList.toggle('mine', on);
    if (!on) return;
    var copy = e.cloneNode(true);
    ['data-from', 'data-to', 'data-square'].forEach(function (name) { copy.removeAttribute(name); });
    layer.appendChild(copy);
  });
}
function markLabels(i, on) {
  if (i >= 0) markOwn(view.labelMarks[i], view.ownLabels, on);
}
// Picks out the symbol and the own links of object i (on), or puts them back (off).
function markSelection(i, on) {
  if (i < 0) return;
  if (view.symbols[i]) view.symbols[i].classList.toggle('chosen', on);
  markOwn(view.marks[i], view.ownLinks, on);
  markLabels(i, on);
}
function placeSelection() {
  var r = view.selection;
  if (!state.square) { r.setAttribute('display', 'none'); return; }
  r.removeAttribute('display');
  r.setAttribute('x', state.square[0] * state.cell);
  r.setAttribute('y', state.square[1] * state.cell);
}
// Selects object i (or no object, -1) and the square, and shows them.
function select(i, square) {
  var old = state.selected;
  state.selected = i;
  state.square = square;
  if (view) {
    markSelection(old, false);
    markSelection(i, true);
    dimOthers();
    placeSelection();
  }
  showSelection();
}
// Shows or hides the links of one kind.
function showLinkKind(how, shown) {
  state.hidden[how] = !shown;
  if (!view) return;
  byId('overlay').classList.toggle('hide-' + how, !shown);
  drawLabels();
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

// ---- details ----
function gotoLink(i, text) {
  var a = element('a', 'goto', text);
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
  add('square', o.lv >= 0 ? 'level ' + o.lv + ', column ' + o.x + ', row ' + o.y : 'inside another object');
  if (o.pl) add('facing or corner', o.pl);
  add('written as', o.why !== undefined ? 'a comment: ' + o.why : 'statements');
  if (o.tg) add('targets', nodes(o.tg.map(referenceNode)));
  if (o.door) add('door', referenceNode(o.door));
  if (o.dest) add('destination', 'level ' + o.dest[0] + ', column ' + o.dest[1] + ', row ' + o.dest[2]);
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
      li.appendChild(document.createTextNode('to level ' + d[0] + ', column ' + d[1] + ', row ' + d[2]));
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
  info.appendChild(element('h3', null, 'level ' + n + ', column ' + x + ', row ' + y));
  info.appendChild(element('div', null, 'map character "' + charAt(data.levels[n], x, y) + '"'));
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
  info.appendChild(element('div', null, plural(here.length, 'object') + ' on this square'));
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
  if (n !== state.level) { state.selected = -1; state.square = null; buildHeldList(n); }
  state.level = n;
  Array.prototype.forEach.call(byId('level-tabs').children, function (b) {
    b.classList.toggle('current', Number(b.getAttribute('data-level')) === n);
  });
  drawLevel();
  showSelection();
}
function goTo(i) {
  var o = objects[i];
  var root = o.lv >= 0 ? i : rootHolder(i);
  if (root < 0) { select(i, null); return; }
  var r = objects[root];
  if (r.lv !== state.level) showLevel(r.lv);
  select(i, [r.x, r.y]);
}
function goToSquare(n, x, y) {
  showLevel(n);
  select(-1, [x, y]);
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
    li.appendChild(document.createTextNode(' ' + objects[i].kind +
      (objects[i].lv >= 0 ? ', level ' + objects[i].lv : ', inside another object')));
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

function buildProblems() {
  var list = byId('problems');
  byId('problem-heading').textContent = 'Warnings and errors (' + data.problems.length + ')';
  if (!data.problems.length) list.appendChild(element('li', 'none', 'none: the dump converted cleanly'));
  else byId('problem-heading').title = data.summary;
  data.problems.forEach(function (p) {
    var li = element('li', p.error ? 'error' : 'warning', p.text);
    li.setAttribute('data-line', p.ln);
    li.setAttribute('data-name', p.name);
    var go = null;
    var here = p.list ? [] : (byLine[p.ln] || []).filter(function (i) { return rootHolder(i) >= 0; });
    if (here.length) go = function () { goTo(here[0]); };
    else if (!p.list && data.entrance && data.entrance.ln === p.ln && data.entrance.lv >= 0 && data.entrance.lv < data.levels.length)
      go = function () { goToSquare(data.entrance.lv, data.entrance.x, data.entrance.y); };
    if (go) {
      li.classList.add('has-square');
      li.title = 'show its square';
      li.addEventListener('click', function () {
        Array.prototype.forEach.call(list.children, function (c) { c.classList.remove('chosen'); });
        li.classList.add('chosen');
        go();
        byId('view').scrollIntoView();
      });
    }
    list.appendChild(li);
  });
}

function boardEvents() {
  var svg = byId('overlay');
  function symbolOf(event) {
    var node = event.target;
    while (node && node !== svg) {
      if (node.getAttribute && node.getAttribute('data-object') !== null) return Number(node.getAttribute('data-object'));
      node = node.parentNode;
    }
    return -1;
  }
  svg.addEventListener('mouseover', function (event) {
    var i = symbolOf(event);
    if (i >= 0) showObject(i);
  });
  svg.addEventListener('mouseleave', showSelection);
  svg.addEventListener('click', function (event) {
    var i = symbolOf(event);
    var box = svg.getBoundingClientRect();
    var x = Math.floor((event.clientX - box.left) / state.cell), y = Math.floor((event.clientY - box.top) / state.cell);
    if (i >= 0) select(i, [objects[i].x, objects[i].y]);
    else select(-1, [x, y]);
  });
  byId('zoom-in').addEventListener('click', function () {
    state.cell = Math.min(maxCell(), Math.max(state.cell + 1, Math.round(state.cell * 1.5)));
    drawLevel();
  });
  byId('zoom-out').addEventListener('click', function () {
    state.cell = Math.max(1, Math.floor(state.cell / 1.5));
    drawLevel();
  });
  LINK_KINDS.forEach(function (l) {
    byId('show-' + l[0]).addEventListener('change', function (event) { showLinkKind(l[0], event.target.checked); });
  });
}

// Times the redraws of the shown level and writes the figures, in milliseconds, into an element
// "bench-result": drawing the level, selecting objects with links, and switching each link kind
// off and on. Each time counts the script and the browser's style and layout work that follows.
function benchmark() {
  var board = byId('overlay');
  function time(f) {
    var start = performance.now();
    f();
    board.getBoundingClientRect();
    return performance.now() - start;
  }
  function figures(times) {
    var sorted = times.slice().sort(function (a, b) { return a - b; });
    return 'least ' + sorted[0].toFixed(1) + ', median ' + sorted[Math.floor(sorted.length / 2)].toFixed(1) + ', max ' +
      sorted[sorted.length - 1].toFixed(1) + ' (' + times.length + ' times)';
  }
  var n = state.level;
  var rounds = [0, 1, 2, 3, 4];
  var draws = rounds.concat(rounds).map(function () { return time(drawLevel); });
  var linked = onLevel[n].filter(function (i) { return view.marks[i] || view.labelMarks[i]; });
  var step = Math.max(1, Math.floor(linked.length / 40));
  var selects = [];
  for (var k = 0; k < linked.length && selects.length < 40; k += step) {
    var o = objects[linked[k]];
    selects.push(time(function () { select(linked[k], [o.x, o.y]); }));
  }
  var switches = [];
  rounds.forEach(function () {
    LINK_KINDS.forEach(function (l) {
      switches.push(time(function () { showLinkKind(l[0], false); }));
      switches.push(time(function () { showLinkKind(l[0], true); }));
    });
  });
  var searches = ['1', 'x'].map(function (text) {
    return time(function () { byId('find').value = text; showMatches(); });
  });
  var result = element('pre');
  result.id = 'bench-result';
  result.textContent = 'level ' + n + ': ' + plural(onLevel[n].length, 'object') + ', ' +
    plural(view.links.childNodes.length, 'line') + ', ' + plural(view.labels.childNodes.length, 'label') + '\n' +
    'draw the level: ' + figures(draws) + ' ms\n' +
    'select an object: ' + (selects.length ? figures(selects) : 'no object with links') + ' ms\n' +
    'switch a link kind: ' + figures(switches) + ' ms\n' +
    'search: ' + figures(searches) + ' ms\n';
  document.body.appendChild(result);
}

buildSummary();
buildLegend();
buildProblems();
if (data.levels.length) {
  state.cell = Math.min(state.cell, maxCell());
  buildTabs();
  boardEvents();
  searchEvents();
  var first = 0;
  var asked = Number(hashValue('level'));
  if (hashValue('level') !== null && asked >= 0 && asked < data.levels.length && Math.floor(asked) === asked) first = asked;
  else if (data.entrance && data.entrance.lv >= 0 && data.entrance.lv < data.levels.length) first = data.entrance.lv;
  state.level = -1;
  showLevel(first);
  var chosen = hashValue('select');
  if (chosen !== null) {
    for (var i = 0; i < objects.length; i++) if (objects[i].id === chosen) { goTo(i); break; }
  }
  var wanted = hashValue('find');
  if (wanted !== null) {
    byId('find').value = wanted;
    var found = showMatches();
    if (found.length) goTo(found[0]);
  }
  if (hashValue('bench') !== null) benchmark();
} else {
  byId('view').textContent = 'The dump has no level.';
}
document.body.setAttribute('data-ready', 'yes');
})();
