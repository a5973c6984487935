#!/usr/bin/env bash
# Searches a batch of unknowns against a large library on a Slurm cluster: one array job of n tasks, task k
# searching library shard k/n for every unknown (each library entry of the shard read once for all unknowns),
# then a merge job that starts only when every task succeeded and writes each unknown's report, byte-identical
# to a one-machine search. Nothing but the shard files is read by the merge, so it can run anywhere.
#
#   corvelin-slurm-search.sh -n <shards> -l <library folder> -u <unknowns folder or list file> -o <output folder>
#                            [-p <search parameters .spf>] [-b <corvelinscope-batch>] [-r <failed indices>]
#                            [-- <extra sbatch options>]
#
# Output folder: shards/ (one shard result file per unknown and task), reports/ (the merged reports), logs/.
# Prints "array=<job id> merge=<job id>". When tasks failed, the merge is cancelled (--kill-on-invalid-dep=yes);
# resubmit only those tasks with -r (e.g. -r 1,3) and the same other options: a new merge follows them. A task
# run twice writes the same file again, so requeued or repeated tasks do no harm.
set -euo pipefail

shards=""; library=""; unknowns=""; out=""; params=""; batch="corvelinscope-batch"; resubmit=""
while getopts "n:l:u:o:p:b:r:" option; do
  case $option in
    n) shards=$OPTARG ;;
    l) library=$OPTARG ;;
    u) unknowns=$OPTARG ;;
    o) out=$OPTARG ;;
    p) params=$OPTARG ;;
    b) batch=$OPTARG ;;
    r) resubmit=$OPTARG ;;
    *) sed -n '2,16p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ "${1:-}" = "--" ] && shift
if [ -z "$shards" ] || [ -z "$library" ] || [ -z "$unknowns" ] || [ -z "$out" ]; then
  sed -n '2,16p' "$0" >&2
  exit 2
fi

# Slurm takes output paths relative to the job's working folder: every path is made absolute here.
absolute() { case $1 in /*) printf '%s\n' "$1" ;; *) printf '%s/%s\n' "$PWD" "$1" ;; esac; }
library=$(absolute "$library"); unknowns=$(absolute "$unknowns"); out=$(absolute "$out")
mkdir -p "$out/shards" "$out/reports" "$out/logs"
params_arg=""
[ -n "$params" ] && params_arg="'/Params=$(absolute "$params")'"

indices=${resubmit:-0-$((shards - 1))}
# SLURM_ARRAY_TASK_COUNT is the array's size, which a resubmission of some indices changes: the shard count is
# fixed here instead.
array=$(sbatch --parsable --job-name=corvelin-shards --array="$indices" -o "$out/logs/shard-%a.log" "$@" \
  --wrap "exec '$batch' $params_arg '/Library=$library' '/Unknowns=$unknowns' \
          \"/Shard=\$SLURM_ARRAY_TASK_ID/$shards\" '/Out=$out/shards/'")
array=${array%%;*}
merge=$(sbatch --parsable --job-name=corvelin-merge --dependency=afterok:"$array" --kill-on-invalid-dep=yes \
  -o "$out/logs/merge.log" "$@" --wrap "exec '$batch' '/Merge=$out/shards' '/Out=$out/reports/'")
merge=${merge%%;*}
echo "array=$array merge=$merge"
