#pragma once
// Processors this process may run on.

// Count of processors in the process's CPU affinity (a container or taskset narrows it below the
// machine's); the machine's count when the affinity cannot be read, and at least 1.
int UsableProcessors();
