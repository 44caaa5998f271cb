#!/usr/bin/env bash
# The size of the exe, printed for every build; the stripped 32-bit release exe, the product,
# fails over the limit (it is downloaded to, and copied across, many machines). The limit grew
# once, with verification, targets, the preflight, printing defaults and the detection marker.
set -u
exe=$1; config=$2; width=$3; limit=450000
size=$(stat -c %s "$exe")
echo "exe size: $size bytes ($width $config build; limit $limit for the win32 release)"
if [ "$width" = win32 ] && [ "$config" = MinSizeRel ] && [ "$size" -gt "$limit" ]; then
  echo "the release exe is larger than $limit bytes"
  exit 1
fi
exit 0
