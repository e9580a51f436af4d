# The environment every wine run of the tests shares (sourced by run_exe.sh and prepare.sh): no
# debug output, no first-start installers or menu entries, UTF-8 file names and arguments.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
: "${WINEPREFIX:?WINEPREFIX must name the folder of the wine prefix (made by tests/wine/prepare.sh)}"
export WINEPREFIX
