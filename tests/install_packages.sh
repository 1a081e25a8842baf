# Sourced by the test scripts that need packages beyond the build's:
# install_missing_packages NAME... installs those of the Debian packages
# that are missing (as root; others are told what to install), waiting for
# another install that holds the package manager's lock.
install_missing_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "$(basename "$0"): missing packages (install them as root): ${missing[*]}" >&2
        exit 1
    fi
    echo "$(basename "$0"): installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    timeout 900 apt-get -o DPkg::Lock::Timeout=600 update -q </dev/null
    timeout 1500 apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}" </dev/null
}
