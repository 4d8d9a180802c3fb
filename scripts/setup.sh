# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the other scripts: the Debian packages each kind of work needs,
# and the function that installs those that are missing.

# Building and running the game: ./scripts/run installs these and no more.
veltrano_run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    # The sound effects; at run time its library plays them through the
    # desktop's sound server, and needs nothing loaded besides.
    qt6-multimedia-dev
    # Loaded at run time: the X11 and Wayland platform plugins, and the
    # fonts the captions are sized for.
    qt6-qpa-plugins qt6-wayland fonts-dejavu-core fonts-liberation
)

# What the test suite adds: an X server and the tools that drive and watch
# the game in it (with the X11 headers of their helper, and the damage
# extension's the benchmark is built with), the desktop's and AppStream's
# validators, and what packs and checks the Debian package.
veltrano_test_packages=(
    xvfb xdotool x11-utils imagemagick libx11-dev libxdamage-dev
    desktop-file-utils appstream
    dpkg-dev file lintian
)

# Packing the Debian package (dpkg-buildflags gives Debian's hardening flags,
# dpkg-shlibdeps computes its dependencies).
veltrano_package_packages=(dpkg-dev file)

# The benchmarks: an X server of their own and the X11 libraries they watch
# it with.
veltrano_bench_packages=(xvfb libx11-dev libxdamage-dev)

# The fuzz targets, built with clang and libFuzzer.
veltrano_fuzz_packages=(clang libclang-rt-dev)

# Installs those of the given packages that are missing.
veltrano_install_missing() {
    local missing=()
    local package
    for package in "$@"; do
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
