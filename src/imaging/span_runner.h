#pragma once

#include "imaging/argb8888.h"
#include "imaging/pixel_kernels.h"
#include "imaging/span_clip.h"

// Walks the rows of a clipped span and hands each to a row kernel of the
// fastest kernel table. An input that is also the output is copied first, so
// a picture may be drawn onto itself.
namespace mavu::imaging::detail {

struct MaskPlacement {
  const TARGB8888* mask = nullptr;
  int x = 0;
  int y = 0;
};

// Draws and fills: the destination is read and written in place, rows follow
// the interlace plan. `source` is null for fills.
void RunSpan(TARGB8888& dest, const TARGB8888* source, const Span& span, kernels::Op op,
             const kernels::Params& params, MaskPlacement mask = {});

void RunStretched(TARGB8888& dest, const TARGB8888& source, const StretchSpan& span, kernels::Op op,
                  const kernels::Params& params);

// Effects: out = f(first, second) over the span, every row, no interlace.
void RunEffect(TARGB8888& out, const TARGB8888& first, const TARGB8888* second, const Span& span,
               kernels::Op op, const kernels::Params& params);

}  // namespace mavu::imaging::detail
