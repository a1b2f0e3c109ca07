object fCheck: TCheckTestForm
  Left = 80
  Top = 80
  BorderStyle = bsSingle
  Caption = 'Lista do zaznaczania'
  ClientWidth = 360
  ClientHeight = 200
  Font.Name = 'Tahoma'
  Font.Height = -11
  object lbUsun: TCheckListBox
    Left = 10
    Top = 10
    Width = 221
    Height = 120
    OnClick = lbUsunClick
    OnClickCheck = lbUsunClickCheck
    Items.Strings = (
      'Zegar świąteczny'
      'Kalendarz'
      'Notatnik żółwia')
  end
  object aniSzukaj: TAnimate
    Left = 240
    Top = 10
    Width = 80
    Height = 60
    CommonAVI = aviFindFile
    Active = True
  end
end
