#include "settings/ParameterStore.h"

#include "prompt/SelectionPrompt.h"
#include "settings/IniFile.h"
#include "text/FileBytes.h"
#include "text/Pieces.h"

namespace scrivano {

const Text& ParameterValues::Value(int k) const {
  static const Text kEmpty;
  return k >= 0 && k < kParameterCount ? values[static_cast<size_t>(k)] : kEmpty;
}

ParameterStore::ParameterStore() : values_(std::make_shared<ParameterValues>()) {}

void ParameterStore::Publish(std::shared_ptr<const ParameterValues> values) {
  std::lock_guard lock(mutex_);
  values_ = std::move(values);
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

bool ParameterStore::LoadParameters(int count) {
  auto values = std::make_shared<ParameterValues>();
  const IniFile file = IniFile::Load(ParameterFile());
  for (int i = 0; i < count && i < kParameterCount; ++i)
    values->values[static_cast<size_t>(i)] = file.Value(kParameterSection, u"Para" + FromUtf8(std::to_string(i)));
  Publish(std::move(values));
  return file.HasSection(kParameterSection);
}

void ParameterStore::SetValue(int k, TextView value) {
  if (k < 0 || k >= kParameterCount) return;
  auto values = std::make_shared<ParameterValues>(*Snapshot());
  values->values[static_cast<size_t>(k)] = Text(value);
  Publish(std::move(values));
}

void ParameterStore::SetAll(const std::array<Text, kParameterCount>& all) {
  auto values = std::make_shared<ParameterValues>();
  values->values = all;
  Publish(std::move(values));
}

std::shared_ptr<const ParameterValues> ParameterStore::Snapshot() const {
  std::lock_guard lock(mutex_);
  return values_;
}

void ParameterStore::SetParameterFile(TextView path) {
  std::lock_guard lock(mutex_);
  parameterFile_ = Text(path);
}

Text ParameterStore::ParameterFile() const {
  std::lock_guard lock(mutex_);
  return parameterFile_;
}

ParameterStore& Parameters() {
  static ParameterStore store;
  return store;
}

std::shared_ptr<const ParameterValues> CurrentParameters() {
  // Each thread keeps the snapshot it saw last and takes the lock only when the store has changed.
  thread_local std::uint64_t seenGeneration = 0;
  thread_local std::shared_ptr<const ParameterValues> seen;
  ParameterStore& store = Parameters();
  const std::uint64_t generation = store.Generation();
  if (generation != seenGeneration || !seen) {
    seen = store.Snapshot();
    seenGeneration = generation;
  }
  return seen;
}

Text ParameterText(int k) { return CurrentParameters()->Value(k); }

int ParameterInt(int k) { return WideToInt(CurrentParameters()->Value(k)); }

void LoadParameters(int count) { Parameters().LoadParameters(count); }

namespace {

constexpr int kMaxIniPathLength = 260;

bool ReadIniText(Text& source, TextView section, TextView key, Text& value) {
  if (!source.starts_with(kIniLineBreak)) source.insert(0, kIniLineBreak);
  const Text header = Text(u"\r\n[") + Text(section) + u"]";
  const int headerAt = Find(source, header);
  if (headerAt < 0) return false;
  const int bodyStart = headerAt + Length(header);
  int bodyEnd = Find(source, u"\r\n[", bodyStart);
  if (bodyEnd < 0) bodyEnd = Length(source);
  const TextView body = TextView(source).substr(static_cast<size_t>(bodyStart),
                                                static_cast<size_t>(bodyEnd - bodyStart));
  const Text keyStart = Text(kIniLineBreak) + Text(key) + u"=";
  const int keyAt = Find(body, keyStart);
  if (keyAt < 0) return false;
  const int valueStart = keyAt + Length(keyStart);
  int valueEnd = Find(body, kIniLineBreak, valueStart);
  if (valueEnd < 0) valueEnd = Length(body);
  value = Mid(body, valueStart, valueEnd - valueStart);
  return true;
}

}  // namespace

bool ReadIniValue(Text& source, TextView section, TextView key, Text& value, bool complain) {
  Text found;
  if (Length(source) <= kMaxIniPathLength && PathExists(source))
    found = IniFile::Load(source).Value(section, key);
  else
    ReadIniText(source, section, key, found);
  value = found;
  if (!found.empty()) return true;
  if (complain) ShowMessage(u"Could not find a parameter !", u"Notice", MessageButtons::Ok, true);
  return false;
}

}  // namespace scrivano
