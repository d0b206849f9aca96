#include "shard_sidecars.h"

#include <algorithm>
#include <fstream>

#include "errors.h"
#include "run_sidecar.h"

namespace nimbra {

namespace {

using Json = nlohmann::ordered_json;

template <typename Value>
Value Field(const Json& json, const char* key, const std::string& sidecar) {
  try {
    return json.at(key).get<Value>();
  } catch (const Json::exception&) {
    throw InputError(sidecar + ": expected a field '" + key + "' as disaggregate writes it");
  }
}

ShardSidecar ReadOne(const std::string& shard) {
  const std::string path = shard + ".json";
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw InOutError(
        shard + ": its sidecar " + path +
        " cannot be opened; merge joins the files that disaggregate --shard writes, with their sidecars");
  }
  ShardSidecar sidecar{shard, Json::parse(in, nullptr, false), 0, 1, 0, ""};
  if (sidecar.Json.is_discarded() || !sidecar.Json.is_object()) {
    throw InputError(path + ": expected the JSON sidecar that disaggregate writes");
  }
  const Json shardField = Field<Json>(sidecar.Json, "shard", path);
  sidecar.Index = Field<int>(shardField, "index", path);
  sidecar.Count = Field<int>(shardField, "count", path);
  sidecar.Rows = Field<std::int64_t>(sidecar.Json, "rows", path);
  sidecar.Sha256 = Field<std::string>(sidecar.Json, "output_sha256", path);
  if (sidecar.Count < 1 || sidecar.Index < 0 || sidecar.Index >= sidecar.Count) {
    throw InputError(path + ": expected a shard K/N with 0 <= K < N");
  }
  return sidecar;
}

std::string ShardText(const ShardSidecar& s) {
  return std::to_string(s.Index) + "/" + std::to_string(s.Count);
}

void CheckSameRun(const ShardSidecar& first, const ShardSidecar& other) {
  for (const char* key : kRunIdentityKeys) {
    if (first.Json.value(key, Json()) != other.Json.value(key, Json())) {
      throw InputError(other.Path + ": not a shard of the run of " + first.Path + ": its " + key +
                       " differs");
    }
  }
  if (other.Count != first.Count) {
    throw InputError(other.Path + ": shard " + ShardText(other) + " of a run split " +
                     std::to_string(other.Count) + " ways, while " + first.Path + " is shard " +
                     ShardText(first));
  }
}

void CheckEveryShardOnce(const std::vector<ShardSidecar>& shards) {
  std::vector<const ShardSidecar*> byIndex(static_cast<std::size_t>(shards.front().Count), nullptr);
  for (const ShardSidecar& shard : shards) {
    const ShardSidecar*& slot = byIndex[static_cast<std::size_t>(shard.Index)];
    if (slot != nullptr) {
      throw InputError(shard.Path + ": shard " + ShardText(shard) + " is given twice, also as " + slot->Path);
    }
    slot = &shard;
  }
  for (std::size_t k = 0; k < byIndex.size(); ++k) {
    if (byIndex[k] == nullptr) {
      throw InputError("shard " + std::to_string(k) + "/" + std::to_string(byIndex.size()) +
                       " of the run of " + shards.front().Path +
                       " is missing: the joined file would lack its stations");
    }
  }
}

}  // namespace

std::vector<ShardSidecar> ReadShardSidecars(const std::vector<std::string>& shards) {
  std::vector<ShardSidecar> sidecars;
  for (const std::string& shard : shards) {
    sidecars.push_back(ReadOne(shard));
    CheckSameRun(sidecars.front(), sidecars.back());
  }
  CheckEveryShardOnce(sidecars);
  return sidecars;
}

Json MergedSidecar(const std::vector<ShardSidecar>& shards, std::int64_t rows, const std::string& sha256,
                   const std::vector<std::string>& commandLine) {
  std::vector<std::pair<std::string, const Json*>> stations;
  for (const ShardSidecar& shard : shards) {
    const auto found = shard.Json.find("stations");
    if (found == shard.Json.end() || !found->is_array()) continue;
    for (const Json& station : *found)
      stations.emplace_back(station.value("station", std::string()), &station);
  }
  std::sort(stations.begin(), stations.end());
  Json merged = shards.front().Json;
  merged["command_line"] = commandLine;
  merged["shard"]["index"] = 0;
  merged["shard"]["count"] = 1;
  merged["rows"] = rows;
  merged["output_sha256"] = sha256;
  merged["stations"] = Json::array();
  for (const auto& station : stations) merged["stations"].push_back(*station.second);
  return merged;
}

}  // namespace nimbra
