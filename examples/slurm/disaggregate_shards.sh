#!/bin/bash
# Disaggregates every station of a daily CSV file on a Slurm cluster: one array task per
# shard, then one job that merges the shards into the file a single run would write.
#
#   sbatch examples/slurm/disaggregate_shards.sh
#
# Change the lines marked "yours" to your files, shard count and site; the rest stays.
#SBATCH --job-name=nimbra-shard
#SBATCH --array=0-15              # yours: shards 0 to N-1 (N = SHARDS below)
#SBATCH --cpus-per-task=4         # yours: cores per shard; stations of a shard share them
#SBATCH --time=04:00:00           # yours
#SBATCH --output=logs/nimbra-%A_%a.out

set -euo pipefail
SHARDS=16                                 # yours: the array's size
NIMBRA=$HOME/nimbra/build/release/cli/nimbra-cli   # yours
DAILY=data/daily.csv                      # yours
PARAMS=data/params.csv                    # yours
OUT=out                                   # yours
SEED=1                                    # yours: the run's seed; each station derives its own

mkdir -p "$OUT" logs
"$NIMBRA" disaggregate --input "$DAILY" --params "$PARAMS" --seed "$SEED" \
  --threads "$SLURM_CPUS_PER_TASK" --shard "$SLURM_ARRAY_TASK_ID/$SHARDS" \
  --output "$OUT/hourly_shard$SLURM_ARRAY_TASK_ID.csv"

# The last task to start submits the merge, to run when every task has ended well.
if [ "$SLURM_ARRAY_TASK_ID" -eq $((SHARDS - 1)) ]; then
  sbatch --dependency="afterok:$SLURM_ARRAY_JOB_ID" --job-name=nimbra-merge \
    --output=logs/nimbra-merge-%j.out \
    --wrap="$NIMBRA merge --output $OUT/hourly.csv $(for k in $(seq 0 $((SHARDS - 1))); do printf '%s ' "$OUT/hourly_shard$k.csv"; done)"
fi
