// Built only by the layering test, which expects the second include, a
// header of a layer above the first's, to fail.
#include TARNWICK_PROBE_OWN
#include TARNWICK_PROBE_ABOVE
