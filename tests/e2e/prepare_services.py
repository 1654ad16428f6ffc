"""The CTest fixture "services": sets up the Wine prefix of the service tests
(QELVANE_SERVICE_PREFIX, from the programs in QELVANE_BIN) and keeps its
wineserver up; with the argument "down", ends it."""

import sys
import time

import services

if __name__ == "__main__":
    if not services.PREFIX:
        sys.exit("QELVANE_SERVICE_PREFIX must be set")
    if sys.argv[1:] == ["down"]:
        services.stop_server()
        sys.exit(0)
    if not services.BIN:
        sys.exit("QELVANE_BIN must be set")
    started = time.time()
    made = services.prepare_prefix()
    services.keep_server()
    print("%s %s in %.1f s" % ("prepared" if made else "reused", services.PREFIX, time.time() - started))
