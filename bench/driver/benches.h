#pragma once

#include <QString>

class Report;

// What a run of the benchmark measures with, from the command line.
struct BenchConfig
{
    int runs = 11;               // samples per figure; medians are quoted
    int idleSeconds = 60;        // how long the resident window is watched
    int processes = 1000;        // processes running during the scan
    int windows = 200;           // of which this many have a window
    int largeProcesses = 10000;  // the scan again with this many (same share
                                 // of windows); 0 leaves it out
    int apps = 2000;             // applications in the registries
    int refreshes = 10000;       // refreshes between the two memory readings
    QString binDir;              // the build's bin/ (programs, probe, pictures)
    QString workDir;             // scratch folder of this run
    QString deviceRoot;          // the simulated phone's storage
};

// Each adds its rows and notes to the report.
void benchStartup(const BenchConfig& config, Report& report);    // 3 and 4: start-up, memory
void benchResident(const BenchConfig& config, Report& report);   // 3 and 2: pop-ups, idle share
void benchRefresh(const BenchConfig& config, Report& report);    // 2 and 4: refresh cost, growth
void benchScan(const BenchConfig& config, Report& report);       // 1: the /proc scan
void benchCatalogue(const BenchConfig& config, Report& report);  // 5: catalogue, add dialog
void benchDesktop(const BenchConfig& config, Report& report);    // 2: the desktop services, idle

// The catalogue benchmark's own process (zk_bench --catalogue-once): one
// start-up's catalogue and dialog openings, written as one line to fd.
int catalogueOnce(int fd);
