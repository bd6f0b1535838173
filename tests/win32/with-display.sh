#!/bin/sh
# Runs a command on the caller's X display, or on a virtual one for just this command.
# usage: with-display.sh COMMAND [ARGS...]
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
