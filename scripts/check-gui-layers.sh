#!/bin/sh
# The desktop program's folders are layers: each may include its own layer and those below it, never one
# above. From the bottom: toolkit (widgets that know no bus), base (the program's services and the window
# contracts), the window folders, frame (the main window), tour (the screenshot tour's steps) and app (the
# composition: window table, start-up, main.cpp). Prints every include that reaches upwards and fails when
# there is one.
set -eu
gui=${1:-"$(dirname "$0")/../gui"}
status=0
check() { # folder, then the gui folders it may include
    folder=$1
    shift
    allowed=$*
    for file in $(find "$gui/$folder" -name '*.h' -o -name '*.cpp'); do
        grep -o '#include "gui/[a-z_]*/' "$file" | sed 's|#include "gui/||; s|/$||' | sort -u | while read -r target; do
            case " $allowed " in
            *" $target "*) ;;
            *) echo "$file includes gui/$target/, a layer above gui/$folder/"; echo x >>"$marks" ;;
            esac
        done
    done
}
marks=$(mktemp)
trap 'rm -f "$marks"' EXIT
windows="busops circuit config measure publish"
check toolkit toolkit
check base base toolkit
for folder in $windows; do
    check "$folder" $windows base toolkit
done
check frame frame $windows base toolkit
check tour tour frame $windows base toolkit
check app app tour frame $windows base toolkit
if [ -s "$marks" ]; then
    exit 1
fi
echo "gui layers: no include reaches upwards"
