// Form placement: components a form carries so that its window's position,
// size and state survive between runs (TFormPlacement), with chosen
// properties of its components too (TFormStorage). Values go to the registry
// below HKEY_CURRENT_USER (UseRegistry) or to an INI file, in the section
// IniSection of IniFileName. The placement can also hold the form's size
// (PreventResize) or keep it within tracking limits (MinMaxInfo) through a
// window hook.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Forms.h"

class TCustomIniFile;
class TFormPlacement;
class TRxWindowHook;
class TStrings;
class TStringList;

enum TPlacementOption : unsigned { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
using TPlacementOptions = unsigned;

// Tracking limits of a window: one MINMAXINFO record; a value of 0 leaves
// the system's. A change tells the owning placement.
class TWinMinMaxInfo : public TPersistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner = nullptr) : owner_(owner) { }

    // From another TWinMinMaxInfo: the whole record, and the owner is told.
    void Assign(const TPersistent* source) override;
    // All eight values are 0.
    bool DefaultMinMaxInfo() const;
    const MINMAXINFO& MinMaxInfo() const { return info_; }

    int MaxPosLeft() const { return info_.ptMaxPosition.x; }
    void SetMaxPosLeft(int value) { SetValue(info_.ptMaxPosition.x, value); }
    int MaxPosTop() const { return info_.ptMaxPosition.y; }
    void SetMaxPosTop(int value) { SetValue(info_.ptMaxPosition.y, value); }
    int MaxSizeHeight() const { return info_.ptMaxSize.y; }
    void SetMaxSizeHeight(int value) { SetValue(info_.ptMaxSize.y, value); }
    int MaxSizeWidth() const { return info_.ptMaxSize.x; }
    void SetMaxSizeWidth(int value) { SetValue(info_.ptMaxSize.x, value); }
    int MaxTrackHeight() const { return info_.ptMaxTrackSize.y; }
    void SetMaxTrackHeight(int value) { SetValue(info_.ptMaxTrackSize.y, value); }
    int MaxTrackWidth() const { return info_.ptMaxTrackSize.x; }
    void SetMaxTrackWidth(int value) { SetValue(info_.ptMaxTrackSize.x, value); }
    int MinTrackHeight() const { return info_.ptMinTrackSize.y; }
    void SetMinTrackHeight(int value) { SetValue(info_.ptMinTrackSize.y, value); }
    int MinTrackWidth() const { return info_.ptMinTrackSize.x; }
    void SetMinTrackWidth(int value) { SetValue(info_.ptMinTrackSize.x, value); }

    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

private:
    void SetValue(LONG& field, int value);
    void Changed();

    TFormPlacement* owner_;
    MINMAXINFO info_{};
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* owner);
    ~TFormPlacement() override;

    // Save and restore automatically with the form.
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    // Stored text, or (when empty) the default registry key with
    // UseRegistry, else the default INI file name.
    std::string IniFileName() const;
    void SetIniFileName(const std::string& value) { iniFileName_ = value; }
    // Stored text, or (when empty) the owner's default section.
    std::string IniSection() const;
    void SetIniSection(const std::string& value) { iniSection_ = value; }
    TWinMinMaxInfo* MinMaxInfo() const { return minMaxInfo_.get(); }
    // Copies the values in.
    void SetMinMaxInfo(TWinMinMaxInfo* value) { minMaxInfo_->Assign(value); }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions value) { options_ = value; }
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool value);
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool value) { useRegistry_ = value; }

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    // Both open the storage for their run and close it on every way out. A
    // save is refused while Active is set and the form was not restored, so
    // a form never shown keeps what was stored.
    void SaveFormState();
    void RestoreFormState();
    // One value of this placement's storage (opened for the call when no
    // save or restore has it open).
    virtual std::string ReadValue(const std::string& Section, const std::string& Ident, const std::string& Default);
    virtual void WriteValue(const std::string& Section, const std::string& Ident, const std::string& Value);

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    virtual void WritePlacement();
    virtual void ReadPlacement();
    virtual void NotifySaved() { OnSavePlacement(this); }
    virtual void NotifyRestored() { OnRestorePlacement(this); }

    // The owner when it is a form.
    TCustomForm* Form() const;
    // The storage open during a save or restore, else nullptr.
    TCustomIniFile* Storage() const { return storage_.get(); }
    void MarkRestored() { restored_ = true; }

private:
    friend class TWinMinMaxInfo;
    class StorageScope;

    void OpenStorage();
    void CloseStorage();
    void AttachToForm();
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);
    void HandleFormMessage(TObject* Sender, TMessage& Msg, bool& Handled);
    void MinMaxInfoModified();
    void CheckToggleHook();
    void ApplyPreventResize();
    void FixMaximizedPosition();

    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    std::unique_ptr<TCustomIniFile> storage_;
    bool useRegistry_ = false;
    TPlacementOptions options_ = 0;
    bool saved_ = false;
    bool restored_ = false;
    bool destroying_ = false;
    bool preventResize_ = false;
    std::unique_ptr<TWinMinMaxInfo> minMaxInfo_;
    bool defMaximize_ = false;
    TRxWindowHook* winHook_;
    // The form whose handlers were taken, to give them back.
    TCustomForm* form_ = nullptr;
    bool attached_ = false;
    TNotifyEvent saveFormShow_;
    TNotifyEvent saveFormDestroy_;
    TCloseQueryEvent saveFormCloseQuery_;
};

// A placement that also stores the properties StoredProps names, entries
// "Component.Property" of the form's components.
class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* owner);
    ~TFormStorage() override;

    TStrings* StoredProps() const;
    // Copies the lines; the components they name tell this one when they go.
    void SetStoredProps(TStrings* value);

    void Loaded() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void WritePlacement() override;
    void ReadPlacement() override;
    virtual void WriteStoredProps();
    virtual void ReadStoredProps();

private:
    void ReadText(const std::string& Section, const std::string& Ident, const std::string& Default,
                  std::string& Result);
    void WriteText(const std::string& Section, const std::string& Ident, const std::string& Value);
    void ClearSection(const std::string& Section);

    std::unique_ptr<TStringList> storedProps_;
};

// Registers TFormPlacement and TFormStorage for the form reader.
void PlacemntStartup();
