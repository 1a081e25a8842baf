# Sourced by the report scripts: figures from the result files of bench/run
# (one line per candidate: name, median, fastest, slowest, calls per
# sample, first call, median on the other clock; microseconds per call).

# v <file> <candidate> [column]: a figure of one candidate; empty if none.
v() { [ -f "$1" ] && awk -F'\t' -v name="$2" -v c="${3:-2}" '$1 == name { print $c }' "$1" || true; }
# A time with three significant digits or so; a dash for none.
fmt() {
  [ -n "$1" ] || { printf '—'; return; }
  awk -v t="$1" 'BEGIN { if (t >= 100) printf "%.0f", t; else if (t >= 10) printf "%.1f", t; else if (t >= 1) printf "%.2f", t; else printf "%.3f", t }'
}
ratio() {
  [ -n "$1" ] && [ -n "$2" ] || { printf '—'; return; }
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}
