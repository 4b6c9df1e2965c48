#!/bin/sh
# Installs a build into a temporary prefix, checks that the program, the terminal console, the
# help page, the desktop entry, the document type, the icons and the AppStream file are in place,
# then starts the installed program on a virtual X display and finds its window in a screenshot
# (screenshot_test.sh).
# Usage: install_test.sh path/to/build-folder
set -eu

build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix"

for file in bin/tarvelion bin/tarvelion-console share/doc/tarvelion/tvhelp.htm \
    share/applications/tarvelion.desktop share/icons/hicolor/48x48/apps/tarvelion.png \
    share/mime/packages/tarvelion.xml share/icons/hicolor/48x48/mimetypes/application-x-tarvelion.png \
    share/metainfo/org.tarvelion.Tarvelion.metainfo.xml; do
    [ -s "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done

# Away from the source and build folders, so nothing there is found instead of the installation.
cd "$prefix"
answer=$(echo '1+2' | "$prefix/bin/tarvelion-console")
echo "installed console: $answer"
echo "$answer" | grep -q 'result = 3' || { echo "installed console does not answer"; exit 1; }

"$here/screenshot_test.sh" "$prefix/bin/tarvelion"
echo "the installed program starts and shows its window"
