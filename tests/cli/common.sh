# Shared by the runner's contract scripts: a private work folder removed at exit, and failure counting.
# Source it; end the script with: finish "<what passed>".
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() {
  [ "$failures" -eq 0 ] && echo "$1"
  exit $((failures > 0))
}
