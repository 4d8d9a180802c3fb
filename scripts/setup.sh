# Sourced by the other scripts: installs the Debian packages the game, its
# tests and its tools need, only those that are missing.

veltrano_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    fonts-dejavu-core fonts-liberation
    xvfb xdotool x11-utils imagemagick libx11-dev libxdamage-dev desktop-file-utils
    clang libclang-rt-dev
)

veltrano_install_missing() {
    local missing=()
    local package
    for package in "${veltrano_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

veltrano_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
