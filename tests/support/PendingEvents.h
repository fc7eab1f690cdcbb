#pragma once

// Lets queued work run: deferred frees, queued calls and the events they post.
void ProcessPendingEvents();
