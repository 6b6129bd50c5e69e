// The Linux plug-in library needs no entry point: the exports come from the
// core, and the host's services resolve against the program that loads it.
