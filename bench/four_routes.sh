#!/usr/bin/env bash
# Runs the same synthetic stations through the four routes of a large run (threads,
# shards with their merge, the Python module, Dask on a local two-worker cluster),
# checks that all four write the same bytes, and prints the wall time of each.
# Usage: bench/four_routes.sh [STATIONS]   (default 100; after scripts/build release)
set -euo pipefail
cd "$(dirname "$0")/.."

stations=${1:-100}
work=build/four_routes
cli=build/release/cli/nimbra-cli
params=examples/berlin_tempelhof_july_params.csv
mkdir -p "$work"
/usr/bin/python3 bench/make_stations.py "$stations" "$work/daily.csv" >/dev/null

timed() {
  local name=$1
  shift
  local start=$(date +%s.%N)
  "$@"
  awk -v name="$name" -v start="$start" -v end="$(date +%s.%N)" 'BEGIN { printf "%-22s %6.1f s\n", name, end - start }'
}

run() { "$cli" disaggregate -q -i "$work/daily.csv" -p "$params" --seed 3 "$@" >/dev/null; }
shards() {
  for k in 0 1 2 3; do run --shard "$k/4" -t 2 -o "$work/shard$k.csv" 2>/dev/null; done
  "$cli" merge -o "$work/merged.csv" "$work"/shard{0,1,2,3}.csv
}
python_route() {
  PYTHONPATH=build/release/python /usr/bin/python3 bench/python_routes.py "$work/daily.csv" "$params" 3 "$1" \
    "$work/$1.csv"
}

echo "$stations stations x 620 days"
timed "threads (1)" run -t 1 -o "$work/threads1.csv" 2>/dev/null
timed "threads (2)" run -t 2 -o "$work/threads2.csv" 2>/dev/null
timed "4 shards and merge" shards
timed "Python module" python_route python
timed "Dask, 2 workers" python_route dask
for route in threads2 merged python dask; do
  cmp -s "$work/threads1.csv" "$work/$route.csv" && echo "$route: same bytes" || { echo "$route: DIFFERS"; exit 1; }
done
