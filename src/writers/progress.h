// A one-line progress indicator on standard error, shown only when standard
// error is a terminal; standard output and the download file never see it.
#pragma once

// Starts the indicator for a walk over `total` badge rows.
void StartProgress(long total);

// Reports that `done` rows have been handled; redraws at most a few times a
// second.
void ShowProgress(long done);

// Clears the indicator line.
void EndProgress();
