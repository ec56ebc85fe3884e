// Trovecart - keeps the headers that expose FFmpeg types inside the media layer.
#pragma once

// Only tc_media defines this (privately), so any other layer that includes a header of this
// folder fails to build; FFmpeg stays an implementation detail of the media layer.
#ifndef TROVECART_MEDIA_INTERNAL
#error "media/internal/ belongs to the media layer; use the headers of src/media/ instead"
#endif
