object StorageTestForm: TStorageTestForm
  Caption = 'Ustawienia'
  Left = 100
  Top = 80
  Width = 400
  Height = 300
  OnShow = FormShow
  object eProxy: TEdit
    Left = 8
    Top = 8
    Width = 200
  end
  object eProxyPassword: TEdit
    Left = 8
    Top = 40
    Width = 200
  end
  object eProxyPort: TEdit
    Left = 8
    Top = 72
    Width = 200
  end
  object eProxyUsername: TEdit
    Left = 8
    Top = 104
    Width = 200
  end
  object fs: TFormStorage
    IniFileName = 'Software\QmxTest'
    IniSection = 'ZedaRizezevuzer'
    MinMaxInfo.MinTrackHeight = 200
    MinMaxInfo.MinTrackWidth = 300
    StoredProps.Strings = (
      'eProxy.Text'
      'eProxyPassword.Text'
      'eProxyPort.Text'
      'eProxyUsername.Text')
    UseRegistry = True
  end
end
