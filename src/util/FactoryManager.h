#pragma once
// A registry of factories that build objects of one family from XML elements, keyed by the
// element's tag name. The first factory registered under a name wins.
#include "util/DynamicObject.h"
#include "util/Singleton.h"
#include "util/xml/Element.h"

#include <string>
#include <vector>

namespace mvk::util {

template <class T>
class FactoryManager : public Singleton<FactoryManager<T>> {
public:
    class Factory : public DynamicObject {
    public:
        explicit Factory(std::string name) : factoryName(std::move(name)) {}
        virtual std::string name() const { return factoryName; }
        // A new object built from `element`, or null.
        virtual T* create(const xml::Element& element) = 0;

    private:
        std::string factoryName;
    };

    FactoryManager() = default;
    FactoryManager(const FactoryManager&) = delete;
    FactoryManager& operator=(const FactoryManager&) = delete;
    ~FactoryManager() override {
        for (auto it = factories.rbegin(); it != factories.rend(); ++it)
            (*it)->destroy();
    }

    bool has(const std::string& name) const { return factoryFor(name) != nullptr; }

    // Takes ownership and answers true, or answers false (the caller keeps and deletes it) when
    // a factory of that name is already registered.
    bool add(Factory* factory) {
        if (factory == nullptr || has(factory->name()))
            return false;
        factories.push_back(factory);
        return true;
    }

    Factory* factoryFor(const std::string& name) const {
        for (Factory* factory : factories)
            if (factory->name() == name)
                return factory;
        return nullptr;
    }

    // Built by the factory named like the element, or null for an unknown name.
    T* create(const xml::Element& element) const {
        Factory* factory = factoryFor(element.name());
        return factory ? factory->create(element) : nullptr;
    }

    int factoryCount() const { return static_cast<int>(factories.size()); }
    Factory* factory(int index) const {
        if (index < 0 || index >= factoryCount())
            return nullptr;
        return factories[static_cast<size_t>(index)];
    }

private:
    std::vector<Factory*> factories;
};

// The same idea for the GUI toolkit: factories are asked in registration order whether they
// accept an element; the first that does builds the object.
template <class T>
class AbstractFactory : public Singleton<AbstractFactory<T>> {
public:
    class Factory : public DynamicObject {
    public:
        explicit Factory(std::string name) : factoryName(std::move(name)) {}
        virtual std::string getName() const { return factoryName; }
        virtual bool canCreate(const xml::Element& element) const {
            return element.name() == getName();
        }
        virtual T* create(const xml::Element& element) = 0;

    private:
        std::string factoryName;
    };

    AbstractFactory() = default;
    AbstractFactory(const AbstractFactory&) = delete;
    AbstractFactory& operator=(const AbstractFactory&) = delete;
    ~AbstractFactory() override { clear(); }

    bool has(const std::string& name) const {
        for (Factory* factory : factories)
            if (factory->getName() == name)
                return true;
        return false;
    }

    // Takes ownership; a factory whose name is already registered is destroyed instead.
    bool add(Factory* factory) {
        if (factory == nullptr)
            return false;
        if (has(factory->getName())) {
            factory->destroy();
            return false;
        }
        factories.push_back(factory);
        return true;
    }

    T* create(const xml::Element& element) const {
        for (Factory* factory : factories)
            if (factory->canCreate(element))
                return factory->create(element);
        return nullptr;
    }

    // Destroys every factory (the toolkit's tear-down).
    void clear() {
        while (!factories.empty()) {
            Factory* last = factories.back();
            factories.pop_back();
            last->destroy();
        }
    }

    int factoryCount() const { return static_cast<int>(factories.size()); }
    Factory* factory(int index) const {
        if (index < 0 || index >= factoryCount())
            return nullptr;
        return factories[static_cast<size_t>(index)];
    }

private:
    std::vector<Factory*> factories;
};

} // namespace mvk::util
