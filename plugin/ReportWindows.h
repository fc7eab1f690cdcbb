#pragma once

// Registers the report subsystem's window classes (and so their ancestors)
// with the plug-in's class registry.
void RegisterReportWindows();
