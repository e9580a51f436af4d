#include "page/page_assets.h"

const char* const page_style = R"PAGE(
body { font: 14px/1.4 sans-serif; margin: 0; color: #222; background: #f7f7f4; }
header { padding: 10px 16px; background: #2c3e50; color: #fff; }
header h1 { margin: 0 0 6px; font-size: 20px; }
#summary { display: flex; flex-wrap: wrap; gap: 4px 28px; }
#summary dl { margin: 0; max-width: 430px; }
#summary dt { font-weight: bold; color: #cfd8dc; }
#summary dd { margin: 0 0 2px; }
#script-errors { margin: 0; color: #b00; background: #fee; white-space: pre-wrap; }
#script-errors:empty { display: none; }
#level-tabs { display: flex; flex-wrap: wrap; gap: 4px; padding: 8px 16px 0; }
#level-tabs button { border: 1px solid #999; border-bottom: none; background: #e4e4de; padding: 4px 10px;
  border-radius: 6px 6px 0 0; cursor: pointer; font: inherit; }
#level-tabs button.current { background: #fff; font-weight: bold; }
#level-tabs button.unbuilt { color: #888; font-style: italic; }
#main { display: flex; gap: 12px; padding: 0 16px 12px; align-items: flex-start; }
#view { background: #fff; border: 1px solid #999; padding: 8px; flex: 1 1 auto; min-width: 0; }
#toolbar { display: flex; gap: 8px; align-items: center; margin-bottom: 6px; }
#toolbar button { font: inherit; min-width: 28px; }
#board-wrap { overflow: auto; max-height: 78vh; }
#board { position: relative; display: inline-block; }
#board canvas, #board svg { position: absolute; left: 0; top: 0; }
#board canvas { position: static; display: block; }
#details { width: 340px; flex: 0 0 340px; background: #fff; border: 1px solid #999; padding: 8px; }
#details h2, #details h3 { margin: 4px 0; font-size: 15px; }
#info dl { display: grid; grid-template-columns: auto 1fr; gap: 2px 8px; margin: 4px 0; }
#info dt { font-weight: bold; }
#info dd { margin: 0; overflow-wrap: anywhere; }
#info pre, #problems pre { white-space: pre-wrap; overflow-wrap: anywhere; background: #f2f2ee; margin: 2px 0; padding: 3px; }
a.goto { color: #1a5fb4; cursor: pointer; text-decoration: underline; }
#legend .row { display: flex; align-items: center; gap: 6px; margin: 1px 0; }
#legend svg { flex: 0 0 auto; }
#legend h4 { margin: 6px 0 2px; font-size: 13px; }
#held-section h3 { font-size: 14px; margin: 8px 0 2px; }
#held-list { margin: 0; padding-left: 20px; }
#problem-section { padding: 0 16px 16px; }
#problem-section h2 { font-size: 16px; margin: 6px 0; }
#problems li { margin: 2px 0; }
#problems li.error { color: #a00; }
#problems li.warning { color: #8a5a00; }
#problems li.has-square { cursor: pointer; text-decoration: underline dotted; }
#problems li.chosen { background: #fff3b0; }
.sym { cursor: pointer; }
.shape { stroke: #222; stroke-width: 1; }
.commented .shape { fill: none; stroke: #8a8a8a; stroke-dasharray: 2 1.5; }
.commented text { fill: #8a8a8a; }
.sym.chosen .shape { stroke: #ff00aa; stroke-width: 2.5; }
.sym text { pointer-events: none; font-family: sans-serif; font-weight: bold; }
.outline { fill: none; stroke: #0a58ca; stroke-width: 2; }
.selection { fill: none; stroke: #ff00aa; stroke-width: 2; stroke-dasharray: 4 2; pointer-events: none; }
.link { stroke-width: 1.6; fill: none; pointer-events: none; }
.link-target { stroke: #1565c0; }
.link-door { stroke: #e67e22; stroke-dasharray: 4 2; }
.link-destination { stroke: #8e44ad; stroke-dasharray: 6 3; }
.destination-mark { fill: none; stroke: #8e44ad; stroke-width: 2; pointer-events: none; }
.link-label { font: bold 11px sans-serif; fill: #1b2631; paint-order: stroke; stroke: #fff; stroke-width: 3px;
  pointer-events: none; }
.party .frame { fill: none; stroke: #f1c40f; stroke-width: 3; }
.party .arrow { fill: #f1c40f; stroke: #000; stroke-width: 1; }
.party.unplaced .frame { stroke-dasharray: 4 3; }
.party.unplaced .arrow { fill: none; }
)PAGE";

const char* const page_body = R"PAGE(<pre id="script-errors"></pre>
<script>
(function () {
  var box = document.getElementById('script-errors');
  window.addEventListener('error', function (event) {
    box.textContent += 'script error: ' + event.message + ' (line ' + (event.lineno || 0) + ')\n';
  });
})();
</script>
<header>
<h1 id="title">Dungeon map</h1>
<div id="summary"></div>
</header>
<nav id="level-tabs" aria-label="Levels"></nav>
<div id="main">
<section id="view">
<div id="toolbar"><button id="zoom-out" title="Smaller">&#8722;</button><button id="zoom-in" title="Larger">+</button>
<label><input type="checkbox" id="show-links" checked> links</label><span id="level-info"></span></div>
<div id="board-wrap"><div id="board"><canvas id="terrain" width="0" height="0"></canvas><svg id="overlay" xmlns="http://www.w3.org/2000/svg" width="0" height="0"></svg></div></div>
<div id="held-section"><h3>Inside other objects</h3><ul id="held-list"></ul></div>
</section>
<aside id="details">
<h2>Selected</h2>
<div id="info">Hover over or select a symbol or a square.</div>
<h3>Legend</h3>
<div id="legend"></div>
</aside>
</div>
<section id="problem-section">
<h2 id="problem-heading">Warnings and errors</h2>
<ol id="problems"></ol>
</section>
)PAGE";

const char* const page_script = R"PAGE(
(function () {
'use strict';
var SVG = 'http://www.w3.org/2000/svg';
var data = JSON.parse(document.getElementById('dungeon-data').textContent);
var objects = data.objects;

// Symbol of each kind: glyph, shape and colour.
var KINDS = [
  ['door', 'D', 'square', '#8b5a2b'], ['door frame', 'F', 'frame', '#a0522d'],
  ['door button', 'b', 'circle', '#e67e22'], ['lever or switch', 'L', 'circle', '#2e86c1'],
  ['trigger', 'T', 'diamond', '#16a085'], ['teleporter', '@', 'circle', '#8e44ad'],
  ['pit', 'O', 'circle', '#111111'], ['shooter', 'S', 'triangle', '#c0392b'],
  ['floor damager', 'X', 'diamond', '#d35400'], ['generator', 'G', 'square', '#27ae60'],
  ['creature', 'C', 'circle', '#e74c3c'], ['holder', 'H', 'square', '#b7950b'],
  ['other', '\u2022', 'circle', '#7f8c8d']];
var kindOf = {};
KINDS.forEach(function (k) { kindOf[k[0]] = { glyph: k[1], shape: k[2], colour: k[3] }; });
var DIRECTIONS = { NORTH: [0, -1], EAST: [1, 0], SOUTH: [0, 1], WEST: [-1, 0], NORTHEAST: [1, -1],
  NORTHWEST: [-1, -1], SOUTHEAST: [1, 1], SOUTHWEST: [-1, 1], '0': [0, -1], '1': [1, 0], '2': [0, 1], '3': [-1, 0] };
var FIXED_COLOURS = { '0': '#ece6d6', '1': '#4a4a57' };
var PALETTE = ['#6c9bd2', '#d9a44e', '#7fb77e', '#c97b84', '#9b8fd1', '#5bb5b0', '#b0a36b', '#d07fc2', '#8aa1b1', '#c4c45a'];

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

// Indexes: objects per level, per dump line, held objects per holder, links that arrive from elsewhere.
var onLevel = data.levels.map(function () { return []; });
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

var state = { level: 0, cell: 24, selected: -1, square: null, showLinks: true, positions: {} };
var grid = { w: data.gw, h: data.gh };
state.cell = Math.max(1, Math.min(72, Math.floor(640 / Math.max(grid.w, grid.h, 1))));
function maxCell() { return Math.max(1, Math.floor(8192 / Math.max(grid.w, grid.h, 1))); }

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
  var counts = {};
  var commented = 0, held = 0;
  objects.forEach(function (o) {
    counts[o.kind] = (counts[o.kind] || 0) + 1;
    if (o.why !== undefined) commented++;
    if (o.lv < 0) held++;
  });
  var kindLines = [KINDS.filter(function (k) { return counts[k[0]]; })
    .map(function (k) { return k[0] + ' ' + counts[k[0]]; }).join(', ')];
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
  KINDS.forEach(function (k) { row(legendSymbol(k[0], false), k[0]); });
  row(legendSymbol('other', true), 'written as a comment (hollow, grey)');
  var tick = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22' });
  tick.appendChild(symbolShape('other', 6, false));
  tick.appendChild(shape('line', { x1: 0, y1: -6, x2: 0, y2: -10, stroke: '#000', 'stroke-width': 2 }));
  row(tick, 'tick: its facing or corner');
  legend.appendChild(element('h4', null, 'Links'));
  [['link-target', 'target'], ['link-door', 'door button to its door'], ['link-destination', 'teleporter to its destination']]
    .forEach(function (l) {
      var s = shape('svg', { width: 22, height: 12 });
      s.appendChild(shape('line', { x1: 1, y1: 6, x2: 21, y2: 6, 'class': 'link ' + l[0] }));
      row(s, l[1]);
    });
  row(element('span', 'link-sample', '\u2192 level n'), 'a link to another level');
  var p = shape('svg', { width: 22, height: 22, viewBox: '-11 -11 22 22' });
  p.appendChild(partyShape(9, 'NORTH', true));
  row(p, 'the party\u2019s starting place and facing');
}

// ---- symbols ----
function symbolShape(kind, r, commented) {
  var k = kindOf[kind] || kindOf.other;
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
  var d = DIRECTIONS[word];
  if (!d) return null;
  var length = Math.sqrt(d[0] * d[0] + d[1] * d[1]);
  var ux = d[0] / length, uy = d[1] / length;
  return shape('line', { x1: (ux * r).toFixed(1), y1: (uy * r).toFixed(1), x2: (ux * r * 1.6).toFixed(1),
    y2: (uy * r * 1.6).toFixed(1), stroke: '#000', 'stroke-width': Math.max(1, r / 4).toFixed(1) });
}
function partyShape(half, facing, placed) {
  var g = shape('g', { 'class': 'party' + (placed ? '' : ' unplaced') });
  g.appendChild(shape('rect', { x: -half, y: -half, width: 2 * half, height: 2 * half, 'class': 'frame' }));
  var d = DIRECTIONS[facing];
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
  var linkLayer = shape('g', { id: 'links' });
  var symbolLayer = shape('g', { id: 'symbols' });
  var labelLayer = shape('g', { id: 'labels' });
  svg.appendChild(linkLayer);
  svg.appendChild(symbolLayer);

  // Objects of one square share it in a small grid of their own, so that each stays reachable.
  var squares = {};
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    var key = o.x + ',' + o.y;
    (squares[key] = squares[key] || []).push(i);
  });
  var positions = {};
  var radius = {};
  Object.keys(squares).forEach(function (key) {
    var list = squares[key];
    var k = Math.ceil(Math.sqrt(list.length));
    var sub = cs / k;
    list.forEach(function (i, j) {
      var o = objects[i];
      var cx = o.x * cs + (j % k + 0.5) * sub, cy = o.y * cs + (Math.floor(j / k) + 0.5) * sub;
      var r = Math.max(1, sub * 0.36);
      positions[i] = [cx, cy];
      radius[i] = r;
      var commented = o.why !== undefined;
      var g = symbolShape(o.kind, r, commented);
      g.setAttribute('class', 'sym' + (commented ? ' commented' : '') + (i === state.selected ? ' chosen' : ''));
      g.setAttribute('data-object', i);
      g.setAttribute('data-kind', o.kind);
      g.setAttribute('transform', 'translate(' + cx.toFixed(1) + ',' + cy.toFixed(1) + ')');
      var tick = o.pl ? directionTick(o.pl, r) : null;
      if (tick) g.appendChild(tick);
      symbolLayer.appendChild(g);
    });
  });
  state.positions = positions;

  if (data.entrance && data.entrance.lv === n) {
    var e = data.entrance;
    var party = partyShape(cs / 2 - 1, e.facing, e.placed);
    party.setAttribute('id', 'party-marker');
    party.setAttribute('transform', 'translate(' + ((e.x + 0.5) * cs).toFixed(1) + ',' + ((e.y + 0.5) * cs).toFixed(1) + ')');
    svg.appendChild(party);
  }

  if (state.showLinks) drawLinks(n, positions, radius, linkLayer, labelLayer);
  svg.appendChild(labelLayer);
  if (state.square) {
    svg.appendChild(shape('rect', { x: state.square[0] * cs, y: state.square[1] * cs, width: cs, height: cs, 'class': 'selection' }));
  }
  byId('level-info').textContent = 'level ' + n + ': ' + plural(onLevel[n].length, 'object') +
    (level.written ? '' : ' (the script does not build this level)');
  buildHeldList(n);
}

function drawLinks(n, positions, radius, linkLayer, labelLayer) {
  var labelsAt = {};
  function label(i, text) {
    var p = positions[i];
    var count = labelsAt[i] = (labelsAt[i] || 0) + 1;
    var t = shape('text', { x: (p[0] + radius[i] + 2).toFixed(1), y: (p[1] - radius[i] + 12 * count - 4).toFixed(1), 'class': 'link-label' });
    t.textContent = text;
    labelLayer.appendChild(t);
  }
  function line(from, to, toRadius, how) {
    var dx = to[0] - from[0], dy = to[1] - from[1];
    var length = Math.sqrt(dx * dx + dy * dy) || 1;
    var x2 = to[0] - dx / length * toRadius, y2 = to[1] - dy / length * toRadius;
    linkLayer.appendChild(shape('line', { x1: from[0].toFixed(1), y1: from[1].toFixed(1), x2: x2.toFixed(1), y2: y2.toFixed(1),
      'class': 'link link-' + how, 'marker-end': 'url(#arrow-' + how + ')' }));
  }
  function reference(i, ref, how) {
    var t = ref[1];
    var word = how === 'door' ? 'door ' : '';
    if (t < 0) { label(i, '\u2192 ' + word + ref[0] + ' (no such object)'); return; }
    var target = objects[t];
    if (target.lv === n && positions[t]) line(positions[i], positions[t], radius[t], how);
    else if (target.lv >= 0) label(i, '\u2192 level ' + target.lv + ': ' + word + ref[0]);
    else label(i, '\u2192 ' + word + ref[0] + ' (inside another object)');
  }
  onLevel[n].forEach(function (i) {
    var o = objects[i];
    (o.tg || []).forEach(function (t) { reference(i, t, 'target'); });
    if (o.door) reference(i, o.door, 'door');
    if (o.dest) {
      if (o.dest[0] === n) {
        var cs = state.cell;
        var to = [(o.dest[1] + 0.5) * cs, (o.dest[2] + 0.5) * cs];
        linkLayer.appendChild(shape('circle', { cx: to[0], cy: to[1], r: cs * 0.42, 'class': 'destination-mark' }));
        line(positions[i], to, cs * 0.42, 'destination');
      } else {
        label(i, '\u2192 level ' + o.dest[0] + ' at ' + o.dest[1] + ',' + o.dest[2]);
      }
    }
    (incoming[i] || []).forEach(function (arrival) {
      var from = objects[arrival.from];
      if (from.lv !== n) label(i, '\u2190 level ' + (from.lv >= 0 ? from.lv : '?') + ': ' + from.id);
    });
  });
  // Teleporters of other levels that send things here.
  objects.forEach(function (o) {
    if (!o.dest || o.dest[0] !== n || o.lv === n) return;
    var cs = state.cell;
    var cx = (o.dest[1] + 0.5) * cs, cy = (o.dest[2] + 0.5) * cs;
    linkLayer.appendChild(shape('circle', { cx: cx, cy: cy, r: cs * 0.42, 'class': 'destination-mark' }));
    var t = shape('text', { x: (cx + cs * 0.45).toFixed(1), y: (cy - cs * 0.2).toFixed(1), 'class': 'link-label' });
    t.textContent = '\u2190 level ' + (o.lv >= 0 ? o.lv : '?') + ': ' + o.id;
    labelLayer.appendChild(t);
  });
}

function buildHeldList(n) {
  var list = byId('held-list');
  list.textContent = '';
  objects.forEach(function (o, i) {
    if (o.lv >= 0) return;
    var root = rootHolder(i);
    if (root >= 0 ? objects[root].lv !== n : n !== 0) return;
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
function referenceNode(ref) {
  if (ref[1] >= 0) return gotoLink(ref[1], ref[0]);
  return document.createTextNode(ref[0] + ' (no such object)');
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
  function nodes(list) {
    var span = element('span');
    list.forEach(function (node, k) { if (k > 0) span.appendChild(document.createTextNode(', ')); span.appendChild(node); });
    return span;
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
    var held = heldBy[i] || [];
    add('holds', nodes(o.holds.map(function (name) {
      for (var k = 0; k < held.length; k++) if (objects[held[k]].id === name) return gotoLink(held[k], name);
      return document.createTextNode(name);
    })));
  }
  if (incoming[i]) add('worked by', nodes(incoming[i].map(function (a) { return gotoLink(a.from, objects[a.from].id); })));
  info.appendChild(dl);
  if (o.props) { info.appendChild(element('div', null, 'properties:')); info.appendChild(element('pre', null, o.props)); }
  info.appendChild(element('div', null, data.dump + ' line ' + o.ln + ':'));
  info.appendChild(element('pre', null, o.src));
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
  var here = onLevel[n].filter(function (i) { return objects[i].x === x && objects[i].y === y; });
  var ul = element('ul');
  here.forEach(function (i) {
    var li = element('li');
    li.appendChild(gotoLink(i, objects[i].id));
    li.appendChild(document.createTextNode(' (' + objects[i].kind + ', ' + objects[i].type + ')'));
    ul.appendChild(li);
  });
  info.appendChild(element('div', null, plural(here.length, 'object') + ' on this square'));
  info.appendChild(ul);
}
function showSelection() {
  if (state.selected >= 0) showObject(state.selected);
  else if (state.square) showSquare(state.square[0], state.square[1]);
  else byId('info').textContent = 'Hover over or select a symbol or a square.';
}

// ---- navigation ----
function showLevel(n) {
  if (n < 0 || n >= data.levels.length) return;
  if (n !== state.level) { state.selected = -1; state.square = null; }
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
  if (root >= 0) {
    var r = objects[root];
    if (r.lv !== state.level) showLevel(r.lv);
    state.square = [r.x, r.y];
  }
  state.selected = i;
  drawLevel();
  showSelection();
}
function goToSquare(n, x, y) {
  showLevel(n);
  state.selected = -1;
  state.square = [x, y];
  drawLevel();
  showSelection();
}

function buildProblems() {
  var list = byId('problems');
  byId('problem-heading').textContent = 'Warnings and errors (' + data.problems.length + ')';
  if (!data.problems.length) list.appendChild(element('li', 'none', 'none: the dump converted cleanly'));
  data.problems.forEach(function (p) {
    var li = element('li', p.error ? 'error' : 'warning', p.text);
    li.setAttribute('data-line', p.ln);
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
    if (i >= 0) { state.selected = i; state.square = [objects[i].x, objects[i].y]; }
    else { state.selected = -1; state.square = [x, y]; }
    drawLevel();
    showSelection();
  });
  byId('zoom-in').addEventListener('click', function () {
    state.cell = Math.min(maxCell(), Math.max(state.cell + 1, Math.round(state.cell * 1.5)));
    drawLevel();
  });
  byId('zoom-out').addEventListener('click', function () {
    state.cell = Math.max(1, Math.floor(state.cell / 1.5));
    drawLevel();
  });
  byId('show-links').addEventListener('change', function (event) { state.showLinks = event.target.checked; drawLevel(); });
}

buildSummary();
buildLegend();
buildProblems();
if (data.levels.length) {
  state.cell = Math.min(state.cell, maxCell());
  buildTabs();
  boardEvents();
  var first = 0;
  var asked = /level=(\d+)/.exec(location.hash);
  if (asked && Number(asked[1]) < data.levels.length) first = Number(asked[1]);
  else if (data.entrance && data.entrance.lv >= 0 && data.entrance.lv < data.levels.length) first = data.entrance.lv;
  state.level = -1;
  showLevel(first);
  // "#select=ID" opens the page at that object.
  var chosen = /select=([^&]*)/.exec(location.hash);
  if (chosen) {
    var wanted = decodeURIComponent(chosen[1]);
    for (var i = 0; i < objects.length; i++) if (objects[i].id === wanted) { goTo(i); break; }
  }
} else {
  byId('view').textContent = 'The dump has no level.';
}
document.body.setAttribute('data-ready', 'yes');
})();
)PAGE";
