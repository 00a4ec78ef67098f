#!/usr/bin/env bash
# Pictures of the program in every shipped skin, colour theme and note state
# (vn_screenshots.exe), checked for the key colour and for text outside the
# text area, then compared with tests/visual/references. The pictures and the
# contact sheet land in build/screenshots/. With VN_REFRESH_SCREENSHOTS=1 the
# pictures become the new references instead (tools/screenshots.sh --refresh).
# shellcheck source=tests/support/e2e-common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e-common.sh"

out="$VN_ROOT/build/screenshots"
rm -rf "$out/current"
mkdir -p "$out/current"
checks=0
wine "$bin/vn_screenshots.exe" "$(winepath -w "$out/current")" 2>&1 | tr -d '\r' || checks=$?
if [ "${VN_REFRESH_SCREENSHOTS:-}" = 1 ]; then
    python3 "$VN_ROOT/tests/visual/screenshots.py" refresh "$out/current"
else
    python3 "$VN_ROOT/tests/visual/screenshots.py" compare "$out/current" ||
        fail "pictures differ from the references (see above and $out/differences.png)"
fi
[ "$checks" = 0 ] || fail "the checks of the pictures failed (see above)"
