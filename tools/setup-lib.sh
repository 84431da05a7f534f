# Shared set-up steps of the run and test commands (sourced, not run).

karvold_packages=(
    cmake g++ libgtest-dev libgmock-dev libbenchmark-dev libgmp-dev clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-x86-64-dev
    wine64 wine xvfb x11-utils xdotool xclip fonts-ipafont-gothic locales imagemagick fp-utils python3 icoutils msitools wixl python3-olefile
)

karvold_as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

karvold_install_packages() {
    local missing=()
    for p in "${karvold_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        karvold_as_root apt-get update
        karvold_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}

karvold_enable_japanese_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        karvold_as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
            echo 'ja_JP.UTF-8 UTF-8' | karvold_as_root tee -a /etc/locale.gen >/dev/null
        karvold_as_root locale-gen
    fi
}

# Runs a command on a private Xvfb, stopped afterwards; never on the caller's display, where a
# window manager or the person at it can take the focus. Xvfb picks a free display number and
# writes it once it accepts clients, so neither a collision nor a slow start can fail a run.
karvold_with_display() {
    local fifo status=0 num xpid
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/karvold-xvfb.XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xpid=$!
    read -r num <"$fifo" || true
    rm -f "$fifo"
    if [[ ! "$num" =~ ^[0-9]+$ ]]; then
        echo "karvold: Xvfb did not start" >&2
        kill "$xpid" 2>/dev/null || true
        return 1
    fi
    DISPLAY=":$num" "$@" || status=$?
    kill "$xpid" 2>/dev/null || true
    wait "$xpid" 2>/dev/null || true
    return $status
}
