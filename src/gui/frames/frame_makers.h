// Trovecart - which frame edits which kind of node.
#pragma once

class TFrameHost;

// Gives the host one maker per kind of frame that exists.
void RegisterFrameMakers(TFrameHost& host);
