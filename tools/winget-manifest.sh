#!/usr/bin/env bash
# The winget manifest of a release's Windows zips, as the three files of a
# multi-file manifest (version, installer, default locale) in the folder
# layout of the community repository, under RELEASE/winget/:
#   tools/winget-manifest.sh RELEASE VERSION URL
# RELEASE holds life-VERSION-win32.zip and life-VERSION-win64.zip, which URL
# serves. Schema 1.12.0, the newest this was written against. winget unpacks
# a zip and runs setup.exe /S from it; setup.exe writes into the Windows
# directory and, without administrator rights, ends at once with exit code
# 740 (ERROR_ELEVATION_REQUIRED), so winget must run it elevated.
set -euo pipefail
release=$1 version=$2 url=$3
id=Vantreel.Life
schema=1.12.0
dir=$release/winget/manifests/v/Vantreel/Life/$version
mkdir -p "$dir"

sha() { sha256sum "$release/life-$version-$1.zip" | cut -c1-64 | tr a-f A-F; }

header() {
  cat <<END
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.$schema.schema.json

PackageIdentifier: $id
PackageVersion: $version
END
}

{
  header version
  cat <<END
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $schema
END
} >"$dir/$id.yaml"

{
  header installer
  cat <<END
InstallerType: zip
NestedInstallerType: exe
NestedInstallerFiles:
- RelativeFilePath: setup.exe
Scope: machine
InstallModes:
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ElevationRequirement: elevationRequired
ProductCode: Life
AppsAndFeaturesEntries:
- DisplayName: Life $version
  Publisher: Vantreel
  DisplayVersion: $version
  ProductCode: Life
Installers:
- Architecture: x86
  InstallerUrl: $url/life-$version-win32.zip
  InstallerSha256: $(sha win32)
- Architecture: x64
  InstallerUrl: $url/life-$version-win64.zip
  InstallerSha256: $(sha win64)
ManifestType: installer
ManifestVersion: $schema
END
} >"$dir/$id.installer.yaml"

{
  header defaultLocale
  cat <<END
PackageLocale: en-US
Publisher: Vantreel
PackageName: Life
License: MIT
Copyright: Copyright (c) 2026 Vantreel
ShortDescription: Conway's Game of Life as a screen saver, each cell an animated face.
Description: |-
  A screen saver that plays Conway's Game of Life on a world whose edges wrap
  round, each cell drawn as a face: faces are born with a grin, idle, blink and
  glance about while they live, and fade away when they die. When the world
  settles down, a fresh batch drops in. Four face sets, a settings dialog,
  every monitor or one world across them all.
Tags:
- game-of-life
- screensaver
ManifestType: defaultLocale
ManifestVersion: $schema
END
} >"$dir/$id.locale.en-US.yaml"
