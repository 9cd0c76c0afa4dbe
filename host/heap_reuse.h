#pragma once

// Keeps memory the game frees for its own next use instead of giving it
// back to the system at once. A tune's buffers come and go with each level;
// given back, they are taken again page by page in the updates that queue
// the next tune, and the giving back itself costs the update that frees
// them. The amount kept is bounded, so a game that shrinks for good still
// gives most of it back.
void KeepFreedHeapForReuse();
