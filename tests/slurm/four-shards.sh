#!/usr/bin/env bash
# A 4-shard search through a real single-node Slurm cluster of its own: munged, slurmctld and slurmd started in
# a private folder (private SLURM_CONF, munge socket and key, private ports, no accounting, no cgroups), the
# example script's sbatch array and afterok merge, and the merged report compared byte for byte with the
# one-machine report. Then task 1 is made to fail: the merge is cancelled, only index 1 is resubmitted, and the
# new merge gives the same report. Every daemon is ended by its pid when the script ends, however it ends.
#
#   four-shards.sh <corvelinscope-batch> <corvelinscope-make-library> <work folder> <source folder>
#
# Needs the packages slurmctld slurmd slurm-client munge (.ci/run installs them). Exits 77 (skipped) unless
# CORVELIN_SLURM_TEST=1, since it starts daemons.
set -euo pipefail
[ "${CORVELIN_SLURM_TEST:-0}" = 1 ] || { echo "skipped: set CORVELIN_SLURM_TEST=1 to run the Slurm test"; exit 77; }
batch=$1; make_library=$2; work=$3; source=$4
for tool in munged mungekey slurmctld slurmd sbatch scontrol sinfo; do
  command -v "$tool" >/dev/null || { echo "missing $tool: install slurmctld slurmd slurm-client munge" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/unknowns"
work=$(cd "$work" && pwd)
pids=()
stop_daemons() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
}
fail() {
  echo "FAILED: $*" >&2
  for log in "$work"/slurm/*.log "$work"/out/logs/*.log; do [ -f "$log" ] && { echo "== $log"; tail -n 20 "$log"; }; done >&2
  exit 1
}
trap stop_daemons EXIT

# The library, the unknown and the one-machine report.
"$make_library" "$work/library" --entries 80 --peaks 30 --lines 30 --subfolders 2 --seed 11 \
  --unknown "$work/unknowns/unknown.ChromLibEntry" --of 7 --params "$work/search.spf" >/dev/null
rm "$work/unknowns/replicates.txt" # the generator's note; a reader of text files would take it for an unknown
"$batch" "/Params=$work/search.spf" "/Library=$work/library" "/Search=$work/unknowns/unknown.ChromLibEntry" \
  "/Out=$work/one.csv" >/dev/null 2>"$work/one.log" || fail "one-machine search"

# munge: key, socket, log and pid in the private folder; the socket's folder must be open to all (mode 755).
state="$work/slurm"
mkdir -p "$state/munge" "$state/spool" "$state/save"
chmod 755 "$work" "$state" "$state/munge"
mungekey -c -k "$state/munge/key" >/dev/null 2>&1 || mungekey --create --keyfile="$state/munge/key"
munged -F --force -S "$state/munge/sock" --key-file="$state/munge/key" --log-file="$state/munged.log" \
  --pid-file="$state/munge/pid" --seed-file="$state/munge/seed" &
pids+=($!)
for _ in $(seq 1 50); do [ -S "$state/munge/sock" ] && break; sleep 0.1; done
[ -S "$state/munge/sock" ] || fail "munged did not start"

# Private ports from the process id, so two runs on one machine do not meet.
port=$((20000 + ($$ % 20000) * 2))
host=$(hostname)
user=$(id -un)
cat >"$state/slurm.conf" <<CONF
ClusterName=corvelin-test
SlurmctldHost=$host(127.0.0.1)
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$state/munge/sock
SlurmUser=$user
SlurmdUser=$user
SlurmctldPort=$port
SlurmdPort=$((port + 1))
StateSaveLocation=$state/save
SlurmdSpoolDir=$state/spool
SlurmctldPidFile=$state/slurmctld.pid
SlurmdPidFile=$state/slurmd.pid
SlurmctldLogFile=$state/slurmctld.log
SlurmdLogFile=$state/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
MailProg=/bin/true
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=1000 State=UNKNOWN
PartitionName=test Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$state/slurm.conf"
slurmctld -D -i >"$state/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D >"$state/slurmd.out" 2>&1 &
pids+=($!)
for _ in $(seq 1 60); do [ "$(sinfo -h -o %t 2>/dev/null)" = idle ] && break; sleep 0.5; done
[ "$(sinfo -h -o %t 2>/dev/null)" = idle ] || fail "the node did not become idle"

# Waits (bounded) until the job has ended; prints its state.
job_state() { scontrol show job "$1" 2>/dev/null | sed -n 's/.*JobState=\([A-Z_]*\).*/\1/p' | head -n 1; }
wait_job() {
  local state=""
  for _ in $(seq 1 240); do
    state=$(job_state "$1")
    case $state in COMPLETED | FAILED | CANCELLED | TIMEOUT | NODE_FAIL | OUT_OF_MEMORY) break ;; esac
    sleep 0.5
  done
  echo "$state"
}
ids() { sed -n 's/^array=\([0-9]*\) merge=\([0-9]*\)$/\1 \2/p'; }
search() {
  "$source/examples/slurm/corvelin-slurm-search.sh" -n 4 -l "$work/library" -u "$work/unknowns" -o "$work/out" \
    -p "$work/search.spf" -b "$batch" "$@"
}

read -r array merge < <(search | ids)
[ "$(wait_job "$merge")" = COMPLETED ] || fail "merge job $merge did not complete"
merged=$(ls "$work"/out/reports/*.csv)
cmp "$work/one.csv" "$merged" || fail "merged report differs from the one-machine report"
echo "4 shards through sbatch: merged report == one-machine report"

# Task 1 fails on its first run: the merge is cancelled; only index 1 is resubmitted, then a new merge.
rm -rf "$work/out"
cat >"$work/flaky-batch" <<FLAKY
#!/bin/sh
if [ "\$SLURM_ARRAY_TASK_ID" = 1 ] && [ ! -e "$work/failed-once" ]; then touch "$work/failed-once"; exit 1; fi
exec "$batch" "\$@"
FLAKY
chmod +x "$work/flaky-batch"
batch="$work/flaky-batch"
read -r array merge < <(search | ids)
[ "$(wait_job "$merge")" = CANCELLED ] || fail "merge job $merge was not cancelled after a failed task"
[ -z "$(ls "$work/out/reports")" ] || fail "a cancelled merge wrote a report"
read -r array merge < <(search -r 1 | ids)
[ "$(wait_job "$merge")" = COMPLETED ] || fail "merge job $merge after the resubmission did not complete"
cmp "$work/one.csv" "$(ls "$work"/out/reports/*.csv)" || fail "report after the resubmission differs"
echo "task 1 failed, merge cancelled; index 1 resubmitted: merged report == one-machine report"
