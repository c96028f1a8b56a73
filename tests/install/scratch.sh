# Shared by the install checks: their two arguments, a scratch folder removed at the end, and
# fail, which names what is wrong and ends the check.
# Arguments of the sourcing script: BUILD_DIR VERSION
set -eu
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
