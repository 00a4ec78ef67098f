# Sourced first by the tools' scripts: a command that fails says so, with its
# script, line and exit status, instead of ending the script in silence.
# With `set -e` the script then stops; without it, it goes on.

vn_report_error() {
    local status="$1" line="$2" command="$3" file="${4:-$0}"
    echo "${file##*/}: line $line: '$command' failed with exit status $status" >&2
}

# -E hands the trap on to functions, command substitutions and subshells.
set -E
trap 'vn_report_error "$?" "$LINENO" "$BASH_COMMAND" "${BASH_SOURCE[0]:-}"' ERR
