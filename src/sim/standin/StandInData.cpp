#include "sim/standin/StandInSimulator.hpp"

#include "common/UpperCase.hpp"

#include <cmath>
#include <stdexcept>
#include <utility>

#include <fmt/format.h>

#include "common/GreatCircle.hpp"
#include "sim/DefinitionData.hpp"
#include "sim/standin/ObjectVariables.hpp"
#include "sim/standin/StandInCommon.hpp"

// Data requests and writes: definitions packed in the order their variables were added.
namespace corv::sim::standin {

using detail::fail;
using detail::ok;

namespace {}  // namespace

const std::vector<StandInSimulator::Variable>* StandInSimulator::knownDefinition(
    DefineId define, std::uint32_t parameter) {
    const auto definition = definitions_.find(define);
    if (definition != definitions_.end()) return &definition->second;
    raise(exception::unrecognizedId, parameter);
    return nullptr;
}

WorldObject* StandInSimulator::knownObject(ObjectId id, std::uint32_t parameter) {
    WorldObject* target = object(id == 0 ? userObjectId : id);
    if (target == nullptr) raise(exception::unrecognizedId, parameter);
    return target;
}

Status StandInSimulator::requestDataOnSimObject(RequestId request, DefineId define,
                                                ObjectId objectId, Period period) {
    const auto operation = beginOperation(Scripted::MayFail);
    if (!operation) return fail;
    const auto* definition = knownDefinition(define, 2);
    if (definition == nullptr) return ok;
    WorldObject* target = knownObject(objectId, 3);
    if (target == nullptr) return ok;
    if (period == Period::Second) {
        // A new request with the same id replaces the old one, as in the real simulator.
        std::erase_if(periodic_, [&](const auto& p) { return p.request == request; });
        periodic_.push_back({request, define, target->id, clock_->steadyNow()});
        return ok;
    }
    refreshUser();
    queue_.push_back(ObjectDataMessage{request, target->id, define, pack(*definition, *target)});
    return ok;
}

Status StandInSimulator::requestDataOnSimObjectType(RequestId request, DefineId define,
                                                    std::uint32_t radiusMetres,
                                                    SimObjectType type) {
    const auto operation = beginOperation(Scripted::MayFail);
    if (!operation) return fail;
    const auto* definition = knownDefinition(define, 2);
    if (definition == nullptr) return ok;
    refreshUser();
    const auto& user = objects_.at(userObjectId);
    const common::GeoPoint centre{user.latitude, user.longitude};
    std::vector<WorldObject*> found;
    for (auto& [id, candidate] : objects_) {
        const bool wanted =
            type == SimObjectType::Aircraft || (type == SimObjectType::User && candidate.isUser);
        if (!wanted) continue;
        const double metres =
            common::distanceNm(centre, {candidate.latitude, candidate.longitude}) *
            common::metresPerNm;
        if (metres <= radiusMetres) found.push_back(&candidate);
    }
    const auto outOf = static_cast<std::uint32_t>(found.size());
    for (std::uint32_t entry = 0; entry < outOf; ++entry) {
        queue_.push_back(ObjectDataByTypeMessage{request, found[entry]->id, define, entry + 1,
                                                 outOf, pack(*definition, *found[entry])});
    }
    return ok;
}

Status StandInSimulator::setDataOnSimObject(DefineId define, ObjectId objectId,
                                            std::span<const std::byte> data) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    const auto* definition = knownDefinition(define, 1);
    if (definition == nullptr) return ok;
    WorldObject* target = knownObject(objectId, 2);
    if (target == nullptr) return ok;
    std::vector<std::pair<const Variable*, double>> values;
    DefinitionReader reader(data);
    try {
        for (const auto& variable : *definition) {
            switch (variable.type) {
                case DataType::Float64:
                    values.emplace_back(&variable, reader.float64());
                    break;
                case DataType::Int64:
                    values.emplace_back(&variable, static_cast<double>(reader.int64()));
                    break;
                case DataType::String32:
                    reader.string32();
                    break;
                case DataType::StringV:
                    reader.stringV();
                    break;
            }
        }
    } catch (const std::out_of_range&) {
        raise(exception::invalidDataSize, 4);
        return ok;
    }
    if (reader.remaining() != 0) {
        raise(exception::invalidDataSize, 4);
        return ok;
    }
    if (target->isUser) {
        log(fmt::format("data {} on the user aircraft ignored: the scenario flies it", define));
        return ok;
    }
    bool moved = false;
    bool turned = false;
    std::string written;
    for (const auto& [variable, value] : values) {
        if (!writeVariable(*target, variable->name, variable->unit, value)) continue;
        const auto name = common::upperCase(variable->name);
        moved = moved || name == "PLANE LATITUDE" || name == "PLANE LONGITUDE" ||
                name == "PLANE ALTITUDE";
        turned = turned || name == "PLANE PITCH DEGREES" || name == "PLANE BANK DEGREES" ||
                 name == "PLANE HEADING DEGREES TRUE";
        written += fmt::format(" {}={:g}", variable->name, value);
    }
    if (moved || turned) recordTrack(*target);
    if (moved) {
        logMove(*target);
    } else {
        log(fmt::format("data {} on {} '{}':{}", define, target->id, target->tailNumber, written));
    }
    return ok;
}

std::vector<std::byte> StandInSimulator::pack(const std::vector<Variable>& variables,
                                              WorldObject& target) {
    const ReadContext context{groundAt(target), clock_->utcNow()};
    DefinitionWriter writer;
    for (const auto& variable : variables) {
        const auto value = readVariable(target, variable.name, variable.unit, context)
                               .value_or(VariableValue{0.0});
        const double* number = std::get_if<double>(&value);
        const std::string text =
            number ? fmt::format("{:g}", *number) : std::get<std::string>(value);
        switch (variable.type) {
            case DataType::Float64:
                writer.float64(number ? *number : 0.0);
                break;
            case DataType::Int64:
                writer.int64(number ? std::llround(*number) : 0);
                break;
            case DataType::String32:
                writer.string32(text);
                break;
            case DataType::StringV:
                writer.stringV(text);
                break;
        }
    }
    return writer.bytes();
}

}  // namespace corv::sim::standin
