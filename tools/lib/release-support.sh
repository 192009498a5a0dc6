# shellcheck shell=bash
# What the packaging scripts share; sourced from the top of the tree, it runs
# nothing itself.

# The project's version, from project() in CMakeLists.txt, its one source.
project_version() {
  local version
  version=$(sed -n 's/^project(Life VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  [[ -n $version ]] || { echo "no version in CMakeLists.txt" >&2; return 1; }
  echo "$version"
}

# The time stamp of everything a release contains, in seconds since 1970:
# SOURCE_DATE_EPOCH when set, else the last commit's time. A source archive
# made by `git archive` has that time written into tools/source-date-epoch
# (export-subst in .gitattributes); a checkout has the placeholder there.
source_date_epoch() {
  local stored
  stored=$(<tools/source-date-epoch)
  if [[ -n ${SOURCE_DATE_EPOCH:-} ]]; then
    echo "$SOURCE_DATE_EPOCH"
  elif [[ $stored =~ ^[0-9]+$ ]]; then
    echo "$stored"
  elif in_git_checkout; then
    git log -1 --format=%ct
  else
    echo "no commit time: neither a git checkout nor a source archive" >&2
    return 1
  fi
}

# Whether this tree is the top of a git checkout (not merely inside one).
in_git_checkout() {
  [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$(pwd -P)" ]]
}

# zip_folder FOLDER ZIP: a zip of the files of FOLDER that is the same byte
# for byte wherever and whenever it is made: entries in byte order, each
# read-write for the owner and readable by all, dated SOURCE_DATE_EPOCH or
# the last commit (zip stores local time, so in UTC), no extra fields.
zip_folder() {
  local folder=$1 zip epoch
  zip=$(realpath -m "$2")
  epoch=$(source_date_epoch) || return 1
  rm -f "$zip"
  find "$folder" -maxdepth 1 -type f -exec chmod 0644 {} + -exec touch -d "@$epoch" {} +
  (cd "$folder" && find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort \
     | TZ=UTC0 zip -q -X -D -@ "$zip")
}

# The Debian changelog of the hack's package, made from CHANGELOG.md: an
# entry for each released version, newest first, dated by its release day,
# whose items are the section's items without their Markdown.
debian_changelog() {
  local maintainer
  maintainer=$(sed -n 's/^Maintainer: //p' lifefaces/debian/control)
  awk -v maintainer="$maintainer" '
    function finish() {
      if (version != "") printf "\n -- %s  %s\n", maintainer, date
      version = ""
    }
    function item(text) {
      gsub(/`|\*\*/, "", text)
      printf "%s\n", text
    }
    /^## \[Unreleased\]/ { finish(); next }
    /^## \[[0-9.]+\] - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]/ {
      finish()
      version = substr($2, 2, length($2) - 2)
      cmd = "date -u -R -d " $4; cmd | getline date; close(cmd)
      printf "%slifefaces (%s) unstable; urgency=medium\n\n", entries++ ? "\n" : "", version
      next
    }
    version == "" || /^#/ || /^$/ { next }
    /^- / { item("  * " substr($0, 3)); next }
    /^  / { item("  " $0); next }
    { item("  * " $0) }
    END { finish() }
  ' CHANGELOG.md
}
