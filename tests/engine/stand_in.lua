-- A stand-in of the target engine's dungeon loader, for the tests: it defines every function and
-- value a converted script uses, runs the script, records the dungeon it builds and prints one line
-- for everything the engine would refuse, "LUA_dungeon.lua:LINE: what is wrong". A script the
-- engine would accept prints nothing.
--
-- Usage: lua5.1 stand_in.lua SCRIPT
-- Loaded as a chunk without a command line, it returns the check itself: a function from the
-- script's text to the list of findings.

local chunk_name = "LUA_dungeon.lua"

-- Runs a script's text against a fresh engine and returns what the engine would refuse, in order.
local function check(text)
  local findings = {}

  -- The line of the script that is running now: the innermost stack frame of the script's chunk.
  local function script_line()
    for level = 2, 20 do
      local info = debug.getinfo(level, "Sl")
      if not info then break end
      if info.short_src == chunk_name then return info.currentline end
    end
    return 0
  end

  local function finding(message)
    findings[#findings + 1] = chunk_name .. ":" .. script_line() .. ": " .. message
  end

  local function describe(value)
    if type(value) == "string" then return string.format("%q", value) end
    return tostring(value)
  end

  local function is_integer(value)
    return type(value) == "number" and value == math.floor(value)
  end

  -- The engine's values: the placement words, the holder mark and the messages.
  local placements = {"NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST", "NORTH", "SOUTH", "WEST", "EAST", "CENTER"}
  local engine = {}
  local placement_values = {}
  for index, word in ipairs(placements) do
    engine[word] = index - 1
    placement_values[index - 1] = true
  end
  engine.IN_OBJ = "IN_OBJ"
  engine.M_ACTIVATE, engine.M_DEACTIVATE, engine.M_TOGGLE, engine.M_DESTROY = 101, 102, 103, 104

  -- The dungeon as the script builds it.
  local levels = {}          -- level number -> true
  local grid = nil           -- {width, height} of the first map; every map must match it
  local objects = {}         -- object handle -> description
  local champions = {}       -- champion handle -> name

  local function check_square(what, level, x, y)
    if not is_integer(level) or not levels[level] then
      finding(what .. " stands on level " .. describe(level) .. ", which no map made")
      return
    end
    if not is_integer(x) or not is_integer(y) or x < 0 or y < 0 or x >= grid.width or y >= grid.height then
      finding(what .. " stands at " .. describe(x) .. "," .. describe(y) .. ", outside the " ..
              grid.width .. " by " .. grid.height .. " grid")
    end
  end

  local function check_object(what, handle)
    if not objects[handle] then finding(what .. " is " .. describe(handle) .. ", not an object made before") end
  end

  local function new_object(description)
    local handle = {}
    objects[handle] = description
    return handle
  end

  function engine.kel_text2map(level, width, height, light, wallset, rows)
    if not is_integer(level) or level < 0 then
      finding("a map for level " .. describe(level) .. ", which is no level number")
      return
    end
    if levels[level] then finding("level " .. level .. " is made twice") end
    levels[level] = true
    if not is_integer(width) or not is_integer(height) or width < 1 or height < 1 then
      finding("level " .. level .. " is " .. describe(width) .. " by " .. describe(height) .. " squares")
      return
    end
    if not grid then grid = {width = width, height = height} end
    if width ~= grid.width or height ~= grid.height then
      finding("level " .. level .. " is " .. width .. " by " .. height .. " where the first map is " ..
              grid.width .. " by " .. grid.height)
    end
    if type(light) ~= "number" then finding("level " .. level .. " has the light " .. describe(light)) end
    if not is_integer(wallset) then finding("level " .. level .. " has the wall set " .. describe(wallset)) end
    if type(rows) ~= "table" then
      finding("level " .. level .. " has no rows")
      return
    end
    if #rows ~= height then finding("level " .. level .. " has " .. #rows .. " rows where it is " .. height .. " high") end
    for index, row in ipairs(rows) do
      if type(row) ~= "string" or #row ~= width then
        finding("row " .. index .. " of level " .. level .. " is " .. describe(row) .. ", not " .. width .. " squares wide")
      end
    end
  end

  function engine.kel_spawn(name, level, x, y, placement)
    if type(name) ~= "string" then finding("an object without a name: " .. describe(name)) end
    local what = "the object " .. describe(name)
    if level == engine.IN_OBJ then
      check_object("the holder of " .. what, x)
      if y ~= -1 or placement ~= 0 then
        finding(what .. " inside a holder has " .. describe(y) .. "," .. describe(placement) .. " where -1,0 belongs")
      end
    else
      check_square(what, level, x, y)
      if not placement_values[placement] then finding(what .. " has the placement " .. describe(placement)) end
    end
    return new_object(what)
  end

  function engine.spawn_pit(level, x, y)
    check_square("the pit", level, x, y)
    return new_object("the pit")
  end

  function engine.kel_disable(object) check_object("what kel_disable disables", object) end

  -- The hit points may be a number or a name the engine defines, as any value copied into code.
  local function set_hit_points(call)
    return function(object)
      check_object("what " .. call .. " changes", object)
    end
  end
  engine.kel_set_maxhp = set_hit_points("kel_set_maxhp")
  engine.kel_set_hp = set_hit_points("kel_set_hp")

  function engine.kel_add_champion(portrait, name, title, ...)
    for index, text in ipairs({portrait, name, title}) do
      if type(text) ~= "string" then finding("text " .. index .. " of a champion is " .. describe(text)) end
    end
    local numbers = {...}
    if select("#", ...) ~= 14 then finding("the champion " .. describe(name) .. " has " .. select("#", ...) .. " numbers, not 14") end
    for index = 1, select("#", ...) do
      if type(numbers[index]) ~= "number" then
        finding("number " .. index .. " of the champion " .. describe(name) .. " is " .. describe(numbers[index]))
      end
    end
    local handle = {}
    champions[handle] = name
    return handle
  end

  function engine.kel_champion_toparty(slot, champion)
    if not is_integer(slot) or slot < 0 then finding("a party slot " .. describe(slot)) end
    if not champions[champion] then finding("party slot " .. describe(slot) .. " takes " .. describe(champion) .. ", not a champion defined before") end
  end

  function engine.kel_party_place(level, x, y, facing)
    check_square("the party", level, x, y)
    if type(facing) ~= "number" then finding("the party faces " .. describe(facing)) end
  end

  -- The spawn burst and the translation only mark stages of loading; the engine takes them in any order.
  function engine.kel_spawnburst_begin() end
  function engine.kel_spawnburst_end() end
  function engine.dungeon_translate() end

  -- exvar: every key an object already made, every value a table of properties.
  engine.exvar = setmetatable({}, {__newindex = function(table, key, value)
    check_object("the exvar key", key)
    if type(value) ~= "table" then finding("the exvar entry of " .. describe(objects[key]) .. " is " .. describe(value)) end
    rawset(table, key, value)
  end})

  -- The script's globals: its own variables are free, the engine's names are not to be replaced.
  local globals = setmetatable({}, {
    __index = engine,
    __newindex = function(table, key, value)
      if engine[key] ~= nil then finding("the script replaces the engine's " .. describe(key)) end
      rawset(table, key, value)
    end,
  })

  -- The chunk is named as the findings name the script, whatever folder it was read from.
  local chunk, load_error = loadstring(text, "=" .. chunk_name)
  if not chunk then return {"the script does not load: " .. load_error} end
  setfenv(chunk, globals)

  debug.sethook(function() error("the script runs without end", 2) end, "", 100000000)
  local ran, run_error = pcall(chunk)
  debug.sethook()
  if not ran then findings[#findings + 1] = "the script stops: " .. tostring(run_error) end
  return findings
end

-- Run from the command line: check the script file named by the first argument.
if type(arg) == "table" and arg[1] then
  local file = io.open(arg[1], "rb")
  if not file then
    print(chunk_name .. ":0: the script cannot be read from " .. tostring(arg[1]))
    os.exit(1)
  end
  local text = file:read("*a")
  file:close()
  for _, line in ipairs(check(text)) do print(line) end
end
return check
