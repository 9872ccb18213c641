# shellcheck shell=bash
# make_polish_locale FOLDER: builds pl_PL.UTF-8 into FOLDER, for LOCPATH=FOLDER; a fresh
# system may have no Polish locale.
make_polish_locale() {
    mkdir -p "$1"
    # localedef may exit 1 for mere warnings, having written the locale.
    localedef -i pl_PL -f UTF-8 "$1/pl_PL.UTF-8" >/dev/null 2>&1 || [ -d "$1/pl_PL.UTF-8" ] ||
        { echo "FAIL: can't build the pl_PL.UTF-8 locale"; exit 1; }
}
