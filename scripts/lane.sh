#!/usr/bin/env bash
# Runs a test of one lane (64 or xp; "-" for a test of no lane), or, when scripts/test.sh
# did not choose that lane, says why and exits 77, which CTest counts as skipped. Run by
# hand (no choice made), every lane runs. Never in a prefix that scripts/test.sh has not
# finished: Wine would make a missing one itself, unstamped and without the settings.
lane=$1
shift
case " - ${QELVANE_LANES_RUN:-64 xp} " in
    *" $lane "*) ;;
    *) why="QELVANE_LANE_${lane^^}_OFF"
       echo "skipped: the $lane lane does not run here: ${!why:-not chosen}"
       exit 77 ;;
esac
if [ -n "${WINEPREFIX:-}" ]; then
    case $(cat "$WINEPREFIX/.qelvane-stamp" 2>/dev/null) in
        "" | unfinished)
            echo "failed: Wine prefix $WINEPREFIX is not ready (no finished .qelvane-stamp): run scripts/test.sh"
            exit 1 ;;
    esac
fi
exec "$@"
