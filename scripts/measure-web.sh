#!/usr/bin/env bash
# Measures the web page in headless Chromium on this machine: the size of the triangle example's
# page, its first frame after load, and the drag step (engine pass and canvas drawing) of a
# 2,000-element construction. Needs the programs (scripts/build.sh with the benchmarks) and the
# web module (scripts/build-web.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target qorv-cli qorv_bench_document >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
browse() { # PAGE FRAGMENT WIDTH HEIGHT: the result the page's test mode wrote
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --force-device-scale-factor=1 --user-data-dir="$work/profile-$RANDOM" \
    --window-size="$3,$4" --dump-dom "file://$1$2" 2>/dev/null |
    sed -n 's:.*<pre id="result">\(.*\)</pre>.*:\1:p' | sed 's/&quot;/"/g'
}
build/src/qorv-cli export-html examples/triangle.qrv "$work/triangle.html"
echo "triangle page: $(stat -c %s "$work/triangle.html") bytes"
for i in 1 2 3 4 5; do
  browse "$work/triangle.html" "#test=-1,0,0,0,0" 960 660 |
    python3 -c 'import json,sys; print("triangle first frame: %.1f ms" % json.load(sys.stdin)["firstFrameMs"])'
done
read -r id x y count < <(build/bench/qorv_bench_document 2000 "$work/big.qrv")
build/src/qorv-cli export-html "$work/big.qrv" "$work/big.html"
echo "large construction: $count elements, page $(stat -c %s "$work/big.html") bytes"
# The driver dragged 40 units away and back in 400 pointer moves, RUNS times (default 5); the
# machine's load is printed with the figures, which are wall-clock times and carry it.
tx=$(python3 -c "print($x + 40)")
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for i in $(seq "${RUNS:-5}"); do
  browse "$work/big.html" "#test=$id,$tx,$y,200,1" 1920 1080 |
    python3 -c 'import json,sys; r=json.load(sys.stdin); s=r["dragStepMs"]
print("2,000 elements: first frame %.1f ms; drag step median %.2f ms (engine %.2f, description"
      " %.2f, canvas %.2f), tenth percentile %.2f ms (canvas %.2f), max %.2f ms over %d steps"
      % (r["firstFrameMs"], s["median"], s["engine"], s["describe"], s["canvas"], s["p10"],
         s["canvasP10"], s["max"], s["steps"]))'
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
