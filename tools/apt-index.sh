# Sourced by the set-up scripts: updates apt's package index. A mirror in the middle of a sync can fail one suite's
# index for a while ("File has unexpected size ... Mirror sync in progress?"); that need not stop the set-up while
# the packages themselves can still be fetched. So the update is tried three times, and then the set-up goes on:
# only an install or download that fails stops it.
#   update_package_index [sudo] apt-get [options]
update_package_index() {
  local attempt
  for attempt in 1 2 3; do
    "$@" update </dev/null && return 0
    if ((attempt < 3)); then
      echo "apt-get update failed; trying again in $((attempt * 15)) s" >&2
      sleep $((attempt * 15))
    fi
  done
  echo "apt-get update failed three times; going on with the package index as it is" >&2
}
