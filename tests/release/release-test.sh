#!/usr/bin/env bash
# The release from end to end: `make release`'s script run in two fresh
# clones of HEAD, in folders of different depth, one after the other under a
# different time zone, locale and umask, must give the same bytes (diffoscope
# shows where not); the source archive unpacks and configures outside git;
# the winget manifest reads as YAML with the zips' hashes; lintian passes
# the package. The builds use no compiler cache, which could hide a
# difference.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/release-support.sh
fail() { echo "release test: $*" >&2; exit 1; }

if ! in_git_checkout; then
  echo "release test: skipped, not a git checkout (a release is made from a commit)"
  exit 0
fi
version=$(project_version)
scratch=$(mktemp -d /tmp/life-release.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
a=$scratch/rel-a/x b=$scratch/rel-bb/yy/z

commit=$(git rev-parse HEAD)
release() { # FOLDER TZ LOCALE UMASK
  git clone -q --no-hardlinks "$PWD" "$1" && git -C "$1" checkout -q --detach "$commit"
  (cd "$1" && umask "$4" && env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER -u CCACHE_DIR \
     -u SOURCE_DATE_EPOCH TZ="$2" LC_ALL="$3" tools/make-release.sh >"$1.log" 2>&1) \
    || { tail -30 "$1.log" >&2; fail "make release failed in $1"; }
}
release "$a" Pacific/Kiritimati C.UTF-8 0022
release "$b" America/St_Johns C 0077

sums() { (cd "$1/build/release" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum); }
if ! diff <(sums "$a") <(sums "$b"); then
  while read -r file; do
    diffoscope --text - "$a/build/release/$file" "$b/build/release/$file" | head -60 || true
  done < <(diff <(sums "$a") <(sums "$b") | sed -n 's/^< [0-9a-f]*  //p')
  fail "two builds of the same commit differ"
fi
rel=$a/build/release
(cd "$rel" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
for name in "life-$version-win32.zip" "life-$version-win64.zip" "life-$version-web.zip" \
            "life-$version.tar.gz" \
            "lifefaces_${version}_$(dpkg --print-architecture).deb"; do
  grep -q "  $name\$" "$rel/SHA256SUMS" || fail "SHA256SUMS does not list $name"
done

# The source archive: dated by its commit, with no git beside it, it configures.
tar -xzf "$rel/life-$version.tar.gz" -C "$scratch"
src=$scratch/life-$version
[[ ! -e $src/.git && $(<"$src/tools/source-date-epoch") == "$(git log -1 --format=%ct "$commit")" ]] \
  || fail "the source archive does not carry its commit's time"
(cd "$src" && cmake --preset native >"$scratch/configure.log" 2>&1) \
  || { tail -20 "$scratch/configure.log" >&2; fail "the source archive does not configure"; }

/usr/bin/python3 - "$rel" "$version" <<'END' || fail "the winget manifest is wrong"
import hashlib, pathlib, sys, yaml
rel, version = pathlib.Path(sys.argv[1]), sys.argv[2]
folder = rel / "winget/manifests/v/Vantreel/Life" / version
docs = {p.name: yaml.safe_load(p.read_text()) for p in folder.glob("*.yaml")}
need = {"Vantreel.Life.yaml": {"ManifestType": "version", "DefaultLocale": "en-US"},
        "Vantreel.Life.installer.yaml": {"ManifestType": "installer", "InstallerType": "zip",
            "NestedInstallerType": "exe", "ElevationRequirement": "elevationRequired",
            "NestedInstallerFiles": [{"RelativeFilePath": "setup.exe"}]},
        "Vantreel.Life.locale.en-US.yaml": {"ManifestType": "defaultLocale", "License": "MIT",
            "PackageLocale": "en-US"}}
assert docs.keys() == need.keys(), sorted(docs)
for name, fields in need.items():
    doc = docs[name]
    fields.update(PackageIdentifier="Vantreel.Life", PackageVersion=version,
                  ManifestVersion=docs["Vantreel.Life.yaml"]["ManifestVersion"])
    for key, value in fields.items():
        assert doc.get(key) == value, f"{name}: {key} is {doc.get(key)!r}, not {value!r}"
installer = docs["Vantreel.Life.installer.yaml"]
assert installer["InstallerSwitches"]["Silent"] == "/S"
arches = {i["Architecture"]: i for i in installer["Installers"]}
for arch, bits in (("x86", "win32"), ("x64", "win64")):
    zip = rel / f"life-{version}-{bits}.zip"
    assert arches[arch]["InstallerUrl"].endswith("/" + zip.name)
    assert arches[arch]["InstallerSha256"].lower() == hashlib.sha256(zip.read_bytes()).hexdigest()
END

tags=$(lintian --fail-on error,warning --display-info "$rel"/*.deb 2>/dev/null) \
  || fail "lintian: $tags"
[[ -z $tags ]] || echo "$tags"
echo "release test: two builds agree byte for byte:"
(cd "$rel" && find . -type f -printf '  %P (%s bytes)\n' | LC_ALL=C sort)
