#!/usr/bin/env bash
# Saves what the X display shows of a window:  screenshot.sh <out.png> [window-caption]
# The window is found by its exact caption (xdotool); without one, or when none is mapped, the
# whole screen is saved. DISPLAY names the (Xvfb) display.
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
if [ -n "$window" ]; then
  import -display "$DISPLAY" -window "$window" "$out"
else
  [ -z "$caption" ] || echo "screenshot: no window '$caption', saving the screen" >&2
  import -display "$DISPLAY" -window root "$out"
fi
