#!/usr/bin/env bash
# Saves what the X display shows of a window:  screenshot.sh <out.png> [window-caption]
# The window is found by its exact caption (xdotool); without one, or when none is mapped, the
# whole screen is saved. DISPLAY names the (Xvfb) display. Wine copies a window's painting to the
# X server on its own schedule, so the picture is taken again until two in a row are the same and
# show more than one colour (at most 40 times).
set -u
out=$1 caption=${2:-}
: "${DISPLAY:?DISPLAY is not set}"
mkdir -p "$(dirname "$out")"
window=
if [ -n "$caption" ]; then
  # xdotool matches a regular expression: quote the caption's special characters.
  pattern=$(printf '%s' "$caption" | sed 's/[][\.*^$(){}?+|/]/\\&/g')
  window=$(xdotool search --onlyvisible --name "^${pattern}\$" 2>/dev/null | head -1)
fi
if [ -z "$window" ]; then
  [ -z "$caption" ] || echo "screenshot: no window '$caption', saving the screen" >&2
  window=root
fi
previous=$out.previous.png
import -display "$DISPLAY" -window "$window" -define png:exclude-chunks=date,time "$previous"
# A window not painted yet is one flat colour: that is never the picture, however steady.
for _ in $(seq 40); do
  import -display "$DISPLAY" -window "$window" -define png:exclude-chunks=date,time "$out"
  cmp -s "$out" "$previous" && [ "$(identify -format %k "$out" 2>/dev/null)" != 1 ] && break
  cp "$out" "$previous"
done
rm -f "$previous"
