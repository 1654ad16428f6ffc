#!/usr/bin/env bash
# Runs a test of one lane (64 or xp), or, when scripts/test.sh did not choose that lane,
# says why and exits 77, which CTest counts as skipped. Run by hand (no choice made),
# every lane runs.
lane=$1
shift
case " ${QELVANE_LANES_RUN:-64 xp} " in
    *" $lane "*) exec "$@" ;;
esac
why="QELVANE_LANE_${lane^^}_OFF"
echo "skipped: the $lane lane does not run here: ${!why:-not chosen}"
exit 77
