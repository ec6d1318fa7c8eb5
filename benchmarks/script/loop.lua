-- The same loop as BM_PascalScriptLoop, for comparison: locals and a local
-- function; only the run is timed (os.clock), median of 5 runs.
local function next_value(x)
  return x + 1
end

local function work()
  local sum, k = 0, 0
  for i = 1, 1000000 do
    if i % 2 == 0 then sum = sum + i % 7 end
    k = next_value(k)
  end
  return sum + k
end

local times = {}
for run = 1, 5 do
  local start = os.clock()
  work()
  times[run] = (os.clock() - start) * 1000
end
table.sort(times)
print(string.format("lua median: %.1f ms", times[3]))
