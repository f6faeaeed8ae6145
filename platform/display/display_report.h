#pragma once
// The display lines of the start-up report, and the driver-interface version the Direct3D start
// checks.

// Appends the display lines to the report log; 0 when it does not open.
int WriteDisplayReport();
// The leading number of the first display device's driver-interface version; 99999 when it cannot
// be read, as on this platform, which has no diagnostic provider to ask.
int GetDDIVersion();
