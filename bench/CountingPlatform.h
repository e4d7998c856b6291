#pragma once
// What the counting seam has seen since the last reset.

struct SeamCounts {
  int openKeyCalls = 0;         // platform::OpenKey, whatever its outcome
  int managerOpenCalls = 0;     // platform::OpenServiceManager
  int keysOpened = 0;           // successful OpenKey and CreateKey
  int keysClosed = 0;
  int serviceHandlesOpened = 0;  // successful manager and service opens
  int serviceHandlesClosed = 0;
};

SeamCounts& Counts();
