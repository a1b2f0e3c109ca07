object fWersja: TVersLabForm
  Caption = 'Wersja'
  ClientWidth = 300
  ClientHeight = 200
  object vlWersja: TVersionLabel
    Left = 8
    Top = 8
  end
  object vlData: TVersionLabel
    Left = 8
    Top = 28
    VersionResource = vrComments
    ShowInfoPrefix = False
  end
  object lProdukt: TLabel
    Left = 8
    Top = 48
  end
  object lvWersja: TListView
    Left = 8
    Top = 68
    Width = 280
    Height = 120
  end
  object vi: TVersionInfoResource
    ProductLabel = lProdukt
    VersionListView = lvWersja
    ShowResource = [pdCompanyName, pdFileVersion, pdComments, pdBuildFlags]
  end
end
