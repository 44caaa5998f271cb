#!/usr/bin/env bash
# The bad configuration corpus (corpus/cases.txt) through the real exe, quiet: no crash, a clear
# outcome in the log (its last line the result), the exit code the case deserves, and when the
# run is refused (1603) the spooler's listing the same after it as before it.
set -u
source "$1"
source "$(dirname "$0")/e2e_lib.sh"
e2e_setup || exit 1
corpus=$(dirname "$0")/corpus
tag=$(e2e_tag)

# gen:<name>: the cases too large to keep.
generate() {
  case $1 in
    prnname-100000.ini) python3 -c 'import sys
sys.stdout.write("[ARGS]\r\nPrnName=" + "L" * 100000 + "\r\nPrefix=LBL\r\nDefaultPorttype=ETH\r\nIPAddress=10.31.200.1\r\n")' ;;
    data-huge.ini) python3 -c 'import sys
sys.stdout.write("[ARGS]\r\nPrnName=Corpus @CASE@ @TAG@\r\nPrefix=LBL\r\nDefaultPorttype=ETH\r\nIPAddress=10.31.201.1\r\n[DATA]\r\n")
sys.stdout.write("".join("Key%05d=value %05d\r\n" % (i, i) for i in range(5000)))' ;;
  esac
}

runs=()
count=0
n=0
while read -r file expected; do
  case $file in ''|'#'*) continue ;; esac
  n=$((n + 1))
  name=${file#gen:}
  run=$E2E_WORK_DIR/corpus-${name%.ini}
  e2e_layout "corpus-${name%.ini}" </dev/null >/dev/null
  if [ "$file" != "$name" ]; then generate "$name" >"$run/raw.ini"; else cp "$corpus/$name" "$run/raw.ini"; fi
  # Names made unique per run; the bytes are otherwise the file's own (encoding, line ends).
  CASE=${name%.ini} TAG=$tag N=$n python3 -c 'import os, sys
data = open(sys.argv[1], "rb").read()
for key in ("CASE", "TAG", "N"):
    for enc in ("latin-1", "utf-16-le"):
        data = data.replace(("@" + key + "@").encode(enc), os.environ[key].encode(enc))
open(sys.argv[2], "wb").write(data)' "$run/raw.ini" "$run/config.ini"
  runs+=("$run")
  count=$((count + 1))
  [ "$expected" = 0 ] || e2e_probe "$run" "$run/before.out"
  e2e_start "$run" /quiet /log "$(e2e_winpath "$run/install.log")"
  e2e_finish "$run"
  case $expected in
    any) [ "$E2E_EXIT" = 0 ] || [ "$E2E_EXIT" = 1603 ] || e2e_fail "$name: exit code $E2E_EXIT, not 0 or 1603" ;;
    *) e2e_expect_eq "$name: exit code" "$E2E_EXIT" "$expected" ;;
  esac
  last=$(tr -d '\r' <"$run/install.log" 2>/dev/null | tail -n 1 | sed 's/^[0-9-]* [0-9:.]* //')
  [ "$last" = "result: $E2E_EXIT $( [ "$E2E_EXIT" = 0 ] && echo installed || echo failed)" ] ||
    e2e_fail "$name: the log's last line: '$last'"
  if [ "$E2E_EXIT" = 1603 ] && [ -f "$run/before.out" ]; then
    e2e_probe "$run"
    cmp -s "$run/before.out" "$run/probe.out" || e2e_fail "$name: refused, but the spooler changed"
  fi
  echo "$name: exit $E2E_EXIT (expected $expected): $(grep -m1 -E 'box: ERROR' "$run/install.log" | sed 's/^[0-9-]* [0-9:.]* box: ERROR: //' | tr -d '\r')"
done <"$corpus/cases.txt"
echo "corpus: $count files"
[ "$count" -ge 30 ] || e2e_fail "only $count corpus files"
e2e_done
