# shellcheck shell=bash
# What the run and measure scripts share; sourced, it runs nothing itself.
# Their options, a temporary folder cleaned up at exit, a private Xvfb
# screen, screenshots.

# read_options "NAME..." ARGS...: each "--NAME VALUE" of ARGS whose NAME is
# listed sets the shell variable NAME to VALUE; every other argument is left
# in the array other_args, in order.
read_options() {
  local names=" $1 "
  shift
  other_args=()
  while (( $# )); do
    if [[ $1 == --* && $names == *" ${1#--} "* ]]; then
      printf -v "${1#--}" '%s' "$2"
      shift 2
    else
      other_args+=("$1")
      shift
    fi
  done
}

# refuse_other_args PROGRAM: exits with status 2 when read_options left an
# argument it does not know.
refuse_other_args() {
  if (( ${#other_args[@]} )); then
    echo "$1: unknown option ${other_args[0]}" >&2
    exit 2
  fi
}

# make_workspace NAME: a temporary folder /tmp/NAME.XXXXXX in $work. At exit
# the program in $hack_pid and the Xvfb server in $xvfb_pid are ended when
# still running, and the folder is removed.
make_workspace() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  xvfb_pid=
  hack_pid=
  trap remove_workspace EXIT
}

remove_workspace() {
  [[ -n $hack_pid ]] && kill "$hack_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}

# start_xvfb WxH: a private Xvfb screen of that size on a display number
# Xvfb picks itself and tells through $work/displayfd (up to 20 s); sets
# xvfb_pid and xvfb_display (":N"). Fails when Xvfb does not answer.
start_xvfb() {
  rm -f "$work/displayfd"
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 20 number <"$work/displayfd" || return 1
  xvfb_display=:$number
}

stop_xvfb() {
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
}

# save_screenshot FILE: the whole screen of $DISPLAY as a picture, its
# folder made when missing.
save_screenshot() {
  mkdir -p "$(dirname "$1")"
  import -window root "$1"
}
