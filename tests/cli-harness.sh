# Sourced by the command-line test scripts (ORVO as their first argument):
# orvo, a scratch directory removed at exit with a data directory of its
# own inside, and check NAME GOT EXPECTED, which notes a failure in fail.
set -u
orvo=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export ORVO_HOME=$tmp/home
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1"; echo "  expected: $(printf %q "$3")"; echo "  got:      $(printf %q "$2")"; fail=1; fi; }
