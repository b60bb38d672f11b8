#!/usr/bin/env bash
# Starts the most complete program the build has: the game window when it is
# built, else a headless demo of the command-line tool.
set -euo pipefail
bin="$1"
if [ -x "$bin/tobbin" ]; then
  exec "$bin/tobbin"
elif [ -x "$bin/tobbin-cli" ]; then
  exec "$bin/tobbin-cli" --help
else
  echo "Nothing to start yet: the build has produced no program." >&2
  exit 1
fi
