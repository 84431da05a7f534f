#!/usr/bin/env bash
# Builds the release package twice, in build/package and from a copy of the tree in another
# folder, and passes when the archives, installer packages and checksums are byte-identical and
# each archive holds the program for its architecture, the help file and the README with a
# byte-order mark.
set -euo pipefail
cd "$(dirname "$0")/../.."
copy=$PWD/build/package-check/elsewhere/karvold
rm -rf "$PWD/build/package-check"
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
tools/package
"$copy/tools/package"

status=0
for file in build/package/karvold-*.zip build/package/karvold-*.msi build/package/SHA256SUMS; do
    cmp "$file" "$copy/$file" || status=1
done
(cd build/package && sha256sum --check --quiet SHA256SUMS) || status=1

python3 - build/package/karvold-*.zip <<'PYTHON' || status=1
import struct, sys, zipfile
MACHINES = {"win64": 0x8664, "win32": 0x14C}  # the PE header's machine field
for archive in sys.argv[1:]:
    with zipfile.ZipFile(archive) as zip_file:
        names = zip_file.namelist()
        program, readme = zip_file.read("karvold.exe"), zip_file.read("README-ja.txt")
    machine = struct.unpack_from("<H", program, struct.unpack_from("<I", program, 0x3C)[0] + 4)[0]
    assert names == ["karvold.exe", "Karvold.chm", "README-ja.txt"], (archive, names)
    assert machine == MACHINES[archive[-9:-4]], (archive, f"program for machine {machine:#x}")
    assert readme.startswith(b"\xef\xbb\xbf"), (archive, "README without a byte-order mark")
PYTHON
[ "$status" = 0 ] && echo "The package builds to the same bytes twice: $(cat build/package/SHA256SUMS)"
exit $status
