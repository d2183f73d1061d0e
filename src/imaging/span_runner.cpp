#include "imaging/span_runner.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace mavu::imaging::detail {
namespace {

// Keeps a private copy of an input that is also the output.
class SafeInput {
 public:
  SafeInput(const TARGB8888* input, const TARGB8888& output) : image_(input) {
    if (input == &output) {
      copy_ = std::make_unique<TARGB8888>();
      copy_->AssignImage(*input);
      image_ = copy_.get();
    }
  }
  const TARGB8888* Get() const { return image_; }

 private:
  std::unique_ptr<TARGB8888> copy_;
  const TARGB8888* image_;
};

int SampleIndex(int base, int64_t phase, int64_t step, int index, int limit) {
  int64_t v = base + ((phase + index * step) >> kFixedShift);
  return static_cast<int>(std::clamp<int64_t>(v, 0, limit - 1));
}

// Rows that are whole in every image involved lie back to back in memory
// (same width, no padding), so the span is one long row: bottom row first.
bool RunAsOneRow(TARGB8888& dest, const TARGB8888* source, const Span& span, const RowPlan& plan,
                 kernels::RowFn row, const kernels::Params& params) {
  bool whole = span.width % 2 == 0 && span.dstX == 0 && span.width == dest.Width() &&
               plan.step == 1 && plan.first == 0 &&
               (!source || (span.srcX == 0 && span.width == source->Width()));
  if (!whole) return false;
  int last = span.height - 1;
  uint32_t* d = dest.Row(span.dstY + last);
  const uint32_t* s = source ? source->Row(span.srcY + last) : nullptr;
  row(d, d, s, nullptr, span.width / 2 * span.height, params);
  return true;
}

}  // namespace

void RunSpan(TARGB8888& dest, const TARGB8888* source, const Span& span, kernels::Op op,
             const kernels::Params& params, MaskPlacement mask) {
  int pairs = span.width / 2;
  if (pairs < 1) return;
  SafeInput src(source, dest), msk(mask.mask, dest);
  kernels::RowFn row = kernels::Best()[op];
  RowPlan plan = PlanRows(span.dstY, span.height);
  if (!msk.Get() && RunAsOneRow(dest, src.Get(), span, plan, row, params)) return;
  for (int i = 0; i < plan.count; ++i) {
    int j = plan.first + i * plan.step;
    uint32_t* d = dest.Row(span.dstY + j) + span.dstX;
    const uint32_t* s = src.Get() ? src.Get()->Row(span.srcY + j) + span.srcX : nullptr;
    const uint32_t* m = msk.Get() ? msk.Get()->Row(mask.y + j) + mask.x : nullptr;
    row(d, d, s, m, pairs, params);
  }
}

void RunStretched(TARGB8888& dest, const TARGB8888& source, const StretchSpan& span, kernels::Op op,
                  const kernels::Params& params) {
  int pairs = span.width / 2;
  if (pairs < 1) return;
  SafeInput src(&source, dest);
  const TARGB8888& image = *src.Get();
  std::vector<int> columns(pairs * 2);
  for (int k = 0; k < pairs * 2; ++k) {
    columns[k] = SampleIndex(span.baseX, span.phaseX, span.stepX, k, image.Width());
  }
  std::vector<uint32_t> sampled(pairs * 2);
  kernels::RowFn row = kernels::Best()[op];
  RowPlan plan = PlanRows(span.dstY, span.height);
  for (int i = 0; i < plan.count; ++i) {
    int j = plan.first + i * plan.step;
    const uint32_t* s =
        image.Row(SampleIndex(span.baseY, span.phaseY, span.stepY, j, image.Height()));
    uint32_t* d = dest.Row(span.dstY + j) + span.dstX;
    uint32_t* gather = op == kernels::Op::kCopy ? d : sampled.data();
    for (int k = 0; k < pairs * 2; ++k) gather[k] = s[columns[k]];
    if (op != kernels::Op::kCopy) row(d, d, sampled.data(), nullptr, pairs, params);
  }
}

void RunEffect(TARGB8888& out, const TARGB8888& first, const TARGB8888* second, const Span& span,
               kernels::Op op, const kernels::Params& params) {
  int pairs = span.width / 2;
  if (pairs < 1) return;
  SafeInput a(&first, out), b(second, out);
  kernels::RowFn row = kernels::Best()[op];
  for (int j = 0; j < span.height; ++j) {
    uint32_t* o = out.Row(span.dstY + j) + span.dstX;
    const uint32_t* d = a.Get()->Row(span.srcY + j) + span.srcX;
    const uint32_t* s = b.Get() ? b.Get()->Row(span.srcY + j) + span.srcX : nullptr;
    row(o, d, s, nullptr, pairs, params);
  }
}

}  // namespace mavu::imaging::detail
