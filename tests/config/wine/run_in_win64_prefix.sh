#!/usr/bin/env bash
# Runs a 32-bit test program in the 64-bit prefix: the one the win64 build uses, named like this
# build's own prefix with win64 in place of win32 (wine-run's default when none is set).
set -u
wine_run=${WINE_RUN%% *}
if [ -n "${WINE_TEST_PREFIX:-}" ]; then
  case "$WINE_TEST_PREFIX" in
    *win32) export WINE_TEST_PREFIX=${WINE_TEST_PREFIX%win32}win64 ;;
    *) export WINE_TEST_PREFIX=$WINE_TEST_PREFIX-win64 ;;
  esac
fi
exec "$wine_run" win64 "$@"
