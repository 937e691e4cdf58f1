#!/usr/bin/env bash
# Runs a test program as an ordinary user when started as root, so that permission bits mean what
# they mean for a player: a file without read permission cannot be opened, a read-only one cannot
# be written. Everything the tests use lies in the world-readable build tree and in /tmp.
if [ "$(id -u)" = 0 ]; then
  exec setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
fi
exec "$@"
